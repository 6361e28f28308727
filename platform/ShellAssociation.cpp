// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ShellAssociation.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "platform/Installation.h"

namespace platform {
namespace {

const QString kPackageIcon = QStringLiteral("slozkamivex2.ico");

// The folder part of a path with its trailing separator, whichever kind the path uses.
QString folderOf(const QString& path) {
    const qsizetype lastSeparator = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.left(lastSeparator + 1);
}

}  // namespace

QString packageIconFile(const QString& programPath) {
    const QString beside = folderOf(programPath) + kPackageIcon;
    if (QFileInfo::exists(beside)) return beside;
    const QString installed = QDir::cleanPath(folderOf(programPath) + QLatin1String(installation::kDataFolderFromProgram) +
                                              QLatin1Char('/') + kPackageIcon);
    return QFileInfo::exists(installed) ? installed : beside;
}

std::vector<ClassesRootRow> associationRows(const QString& programPath) {
    // The shell reads these paths in the system's own separators (Qt gives '/' on every system), and the
    // setup program's uninstaller recognises the rows the program wrote by them.
    return {
        {QStringLiteral(".cff"), QStringLiteral("Soubor CFF")},
        {QStringLiteral("Soubor CFF"), QStringLiteral("Soubor aplikace Mivex 2")},
        {QStringLiteral("Soubor CFF\\Defaulticon"), QDir::toNativeSeparators(packageIconFile(programPath))},
        {QStringLiteral("Soubor CFF\\Shell\\Open\\Command"), associationCommand(programPath)},
    };
}

QString associationCommand(const QString& programPath) {
    return QStringLiteral("\"%1\" \"%2\"").arg(QDir::toNativeSeparators(programPath), QStringLiteral("%1"));
}

QString commandProgram(const QString& command) {
    static const QString quotedArgument = QStringLiteral(" \"%1\"");
    static const QString bareArgument = QStringLiteral(" %1");
    QString program = command;
    if (program.endsWith(quotedArgument)) program.chop(quotedArgument.size());
    else if (program.endsWith(bareArgument)) program.chop(bareArgument.size());
    else return {};
    // The outer quotes only: a Linux file name may hold a quote itself.
    if (program.size() >= 2 && program.startsWith(QLatin1Char('"')) && program.endsWith(QLatin1Char('"')))
        program = program.mid(1, program.size() - 2);
    return program;
}

void registerAssociation(ClassesRoot& root, const QString& programPath) {
    if (root.associatedBySystem(programPath)) {
        root.removeWrittenRows();
        return;
    }
    const std::vector<ClassesRootRow> rows = associationRows(programPath);
    if (std::all_of(rows.begin(), rows.end(), [&](const ClassesRootRow& row) { return root.holds(row.key, row.data); }))
        return;
    for (const ClassesRootRow& row : rows) root.setDefaultValue(row.key, row.data);
    root.finish();
}

}  // namespace platform
