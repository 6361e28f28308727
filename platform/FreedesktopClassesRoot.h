// SPDX-License-Identifier: GPL-3.0-or-later
// The association rows carried out the way a freedesktop desktop expects them, under one data folder
// ($XDG_DATA_HOME). The program associates one class, its folder packages, and carries it out as the package
// type its installed files define (installation::kPackageMimeType), so that an installed program and a copy
// started from elsewhere describe one type: a shared-mime-info package with the class's description and icon,
// the case-sensitive glob of the extension row and the packages' magic; and a desktop entry, hidden from the
// menus, that opens that type with the program of the command row and that desktops ignore once that program
// file is gone. The desktop's caches are refreshed when their tools are installed.
#pragma once

#include <map>

#include <QStringList>

#include "platform/ShellAssociation.h"

namespace platform {

class FreedesktopClassesRoot : public ClassesRoot {
public:
    // `systemDataFolders`: where installed programs' desktop entries are, in the order the desktop looks.
    explicit FreedesktopClassesRoot(QString dataHome, QStringList systemDataFolders = defaultSystemDataFolders());

    // $XDG_DATA_HOME, or ~/.local/share when it is unset or not an absolute path.
    static QString defaultDataHome();
    // $XDG_DATA_DIRS, or /usr/local/share and /usr/share when it is unset.
    static QStringList defaultSystemDataFolders();

    bool setDefaultValue(const QString& key, const QString& data) override;
    void finish() override;
    // The installed desktop entry opens the package type with this very program file.
    bool associatedBySystem(const QString& programPath) const override;
    // The type, desktop entry and icon under the data folder; the desktop's caches are refreshed when any
    // of them was there.
    void removeWrittenRows() override;

    QString mimePackagePath() const;
    QString desktopEntryPath() const;
    QString iconPath() const;

private:
    bool writeClass(const QString& className) const;
    bool writeMimePackage(const QString& className) const;
    bool writeDesktopEntry(const QString& className) const;
    bool writeIcon(const QString& className) const;
    QString value(const QString& key) const;
    QString extensionOf(const QString& className) const;

    QString dataHome_;
    QStringList systemDataFolders_;
    std::map<QString, QString> rows_;
};

// The program of a command row (commandProgram) as a desktop entry's Exec line opening one file.
QString desktopExecLine(const QString& command);

// The packages' magic as a shared-mime-info <magic> element: both halves of its eight bytes must match.
QString packageMagicXml();

}  // namespace platform
