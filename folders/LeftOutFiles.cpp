// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/LeftOutFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include "platform/FileListBox.h"

namespace {

constexpr QDir::Filters kEveryEntry = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;

bool isRealFolder(const QFileInfo& entry) { return entry.isDir() && !entry.isSymLink(); }

}  // namespace

LeftOutFiles leftOutFiles(const QString& folder) {
    LeftOutFiles result;
    for (const QFileInfo& entry : QDir(folder).entryInfoList(kEveryEntry)) {
        if (!isRealFolder(entry)) {
            if (!platform::FileListBox::lists(entry)) ++result.files;
            continue;
        }
        ++result.subfolders;
        // QDirIterator goes into no linked folder unless told to.
        for (QDirIterator below(entry.filePath(), kEveryEntry, QDirIterator::Subdirectories); below.hasNext();)
            if (!isRealFolder(below.nextFileInfo())) ++result.files;
    }
    return result;
}

QString subfoldersQuestion(int leftOutFiles) {
    QString stays;
    if (leftOutFiles == 1)
        stays = QStringLiteral("1 soubor zůstane nešifrován");
    else if (leftOutFiles >= 2 && leftOutFiles <= 4)
        stays = QStringLiteral("%1 soubory zůstanou nešifrovány").arg(leftOutFiles);
    else
        stays = QStringLiteral("%1 souborů zůstane nešifrováno").arg(leftOutFiles);
    return QStringLiteral("Složka obsahuje podsložky. Do balíčku složky se uloží jen soubory přímo ve složce, "
                          "ne podsložky, skryté soubory, odkazy a jména s řídicími znaky: %1. Chcete složku přesto šifrovat?")
        .arg(stays);
}
