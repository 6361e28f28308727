// SPDX-License-Identifier: GPL-3.0-or-later
// The shell association of folder packages (".cff") with the program: four (key, default value) rows
// under the classes root, rewritten at every start. A row that cannot be written is skipped silently.
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

// The rows for a program file, in the order they are written. The program's path is taken as given:
// "C:\Prog\app.exe" gives the icon "C:\Prog\slozkamivex2.ico" and the command "C:\Prog\app.exe %1".
std::vector<ClassesRootRow> associationRows(const QString& programPath);

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
};

// Writes every row, going on past rows that fail; for a program the system associates already, removes
// what was written instead.
void registerAssociation(ClassesRoot& root, const QString& programPath);

// The classes root of this system: the registry on Windows, the freedesktop files elsewhere.
std::unique_ptr<ClassesRoot> systemClassesRoot();

}  // namespace platform
