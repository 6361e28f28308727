// The association rows carried out the way a freedesktop desktop expects them, under one data folder
// ($XDG_DATA_HOME): the extension row and the class rows become a shared-mime-info package that maps the
// case-sensitive glob to the class's type, with the class's description and icon, and a desktop entry that
// opens that type with the command row. The desktop's caches are refreshed when their tools are installed.
#pragma once

#include <map>

#include "platform/ShellAssociation.h"

namespace platform {

class FreedesktopClassesRoot : public ClassesRoot {
public:
    explicit FreedesktopClassesRoot(QString dataHome);

    // $XDG_DATA_HOME, or ~/.local/share when it is unset or not an absolute path.
    static QString defaultDataHome();
    // "Soubor CFF" → "application/x-soubor-cff"
    static QString mimeTypeOf(const QString& className);

    bool setDefaultValue(const QString& key, const QString& data) override;
    void finish() override;

    QString mimePackagePath(const QString& className) const;
    QString desktopEntryPath(const QString& className) const;
    QString iconPath(const QString& className) const;

private:
    bool writeClass(const QString& className) const;
    bool writeMimePackage(const QString& className) const;
    bool writeDesktopEntry(const QString& className) const;
    bool writeIcon(const QString& className) const;
    QString value(const QString& key) const;
    QString extensionOf(const QString& className) const;

    QString dataHome_;
    std::map<QString, QString> rows_;
};

// The program path of a command row "<program> %1" as a desktop entry's Exec line opening one file.
QString desktopExecLine(const QString& command);

}  // namespace platform
