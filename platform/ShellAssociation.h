// SPDX-License-Identifier: GPL-3.0-or-later
// The shell association of folder packages (".cff") with the program: four (key, default value) rows
// under the classes root, written at a start unless the shell reads them so already. A row that cannot be
// written is skipped silently.
#pragma once

#include <memory>
#include <vector>

#include <QString>

namespace platform {

struct ClassesRootRow {
    QString key;
    QString data;
    bool operator==(const ClassesRootRow&) const = default;
};

// The rows for a program file, in the order they are written, its path in the system's separators:
// "C:\Prog\app.exe" gives the icon "C:\Prog\slozkamivex2.ico" and the command associationCommand() makes.
std::vector<ClassesRootRow> associationRows(const QString& programPath);

// The command row, "C:\My Prog\app.exe" "%1" with its quotes: both quoted, so that the shell splits
// neither a program path nor a package path with blanks; the same text the setup program writes.
QString associationCommand(const QString& programPath);

// The program a command row starts: of the quoted form, or of the unquoted "<program> %1" that earlier
// versions wrote; empty for a command of any other shape.
QString commandProgram(const QString& command);

// The package icon "slozkamivex2.ico" the rows name: the one beside the program file, as a copy carried with
// its program has it, else the one an installed program keeps in its data folder (<prefix>/share/mivex2
// for <prefix>/bin/mivex2); when neither exists, the one beside the program file all the same.
QString packageIconFile(const QString& programPath);

// Where the rows go: the registry's HKEY_CLASSES_ROOT, or the desktop's equivalent.
class ClassesRoot {
public:
    virtual ~ClassesRoot() = default;
    // Opens or creates `key` from the root, writes `data` as its default value and closes it again.
    virtual bool setDefaultValue(const QString& key, const QString& data) = 0;
    // Called once after the last row: lets the desktop take notice of what was written.
    virtual void finish() {}
    // Whether the system's own association, as an installed program brings it, already opens packages with
    // `programPath`; then the rows are not written and what earlier starts wrote is removed.
    virtual bool associatedBySystem(const QString& programPath) const {
        Q_UNUSED(programPath);
        return false;
    }
    virtual void removeWrittenRows() {}
    // Whether the shell reads `data` for `key` now, whoever wrote it. Where that cannot be told, false: the
    // row is written.
    virtual bool holds(const QString& key, const QString& data) const {
        Q_UNUSED(key);
        Q_UNUSED(data);
        return false;
    }
};

// Writes every row, going on past rows that fail; nothing when the shell reads every row so already (an
// earlier start's, or the setup program's: an administrator's start must not replace what it wrote); for a
// program the system associates already, removes what was written instead.
void registerAssociation(ClassesRoot& root, const QString& programPath);

// The classes root of this system: the registry on Windows, the freedesktop files elsewhere.
std::unique_ptr<ClassesRoot> systemClassesRoot();

}  // namespace platform
