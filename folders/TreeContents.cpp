// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/TreeContents.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include "engine/core/EntryNames.h"
#include "platform/FileListBox.h"

namespace {

constexpr QDir::Filters kEveryEntry = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

bool isRealFolder(const QFileInfo& entry) { return entry.isDir() && !entry.isSymLink(); }

// Czech needs three forms of a counted noun: 1, 2 to 4, and the rest.
QString counted(int count, const char* one, const char* few, const char* many) {
    const char* form = count == 1 ? one : count >= 2 && count <= 4 ? few : many;
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(form));
}

void collectLeftOut(const QString& top, const QString& folder, QStringList& leftOut) {
    for (const QFileInfo& entry : QDir(folder).entryInfoList(kEveryEntry, QDir::Name)) {
        const bool taken = isRealFolder(entry)
                               ? !entry.isHidden() && engine::core::isRestorableName(entry.fileName().toStdString())
                               : platform::FileListBox::lists(entry);
        if (!taken) leftOut << QDir(top).relativeFilePath(entry.filePath());
        else if (isRealFolder(entry)) collectLeftOut(top, entry.filePath(), leftOut);
    }
}

}  // namespace

Subfolders subfoldersOf(const QString& folder) {
    Subfolders below;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(kEveryEntry)) {
        if (!isRealFolder(entry)) continue;
        ++below.folders;
        // QDirIterator goes into no linked folder unless told to.
        for (QDirIterator inside(entry.filePath(), kEveryEntry, QDirIterator::Subdirectories); inside.hasNext();)
            ++(isRealFolder(inside.nextFileInfo()) ? below.folders : below.files);
    }
    return below;
}

QString subfoldersQuestion(const Subfolders& below) {
    const QString files = counted(below.files, "soubor", "soubory", "souborů");
    // "ve" before the numbers read with a consonant cluster: ve dvou, ve třech, ve čtyřech.
    const QString in = below.folders == 1 ? QStringLiteral("v 1 složce")
                       : below.folders >= 2 && below.folders <= 4 ? QStringLiteral("ve %1 složkách").arg(below.folders)
                                                                   : QStringLiteral("v %1 složkách").arg(below.folders);
    return QStringLiteral("Složka obsahuje podsložky (%1 %2). Zašifrovat i je?").arg(files, in);
}

QStringList leftOutOfTree(const QString& folder) {
    QStringList leftOut;
    collectLeftOut(folder, folder, leftOut);
    return leftOut;
}
