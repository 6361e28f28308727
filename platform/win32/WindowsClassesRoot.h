// SPDX-License-Identifier: GPL-3.0-or-later
// The association rows written to the registry as REG_SZ default values: into the machine's classes
// (HKEY_LOCAL_MACHINE\Software\Classes) where the user may write them, else into the user's own
// (HKEY_CURRENT_USER\Software\Classes), which HKEY_CLASSES_ROOT shows merged over the machine's, so that the
// association works without administrator rights.
#pragma once

#include <windows.h>

#include "platform/ShellAssociation.h"

namespace platform {

class WindowsClassesRoot : public ClassesRoot {
public:
    // The two class roots to write to (null: not writable), and the machine's to read from when it cannot be
    // written (null: the writable one); the defaults are the system's. Tests give keys of their own.
    WindowsClassesRoot(HKEY machineClasses, HKEY userClasses, HKEY machineClassesToRead = nullptr);
    WindowsClassesRoot();
    ~WindowsClassesRoot() override;
    WindowsClassesRoot(const WindowsClassesRoot&) = delete;
    WindowsClassesRoot& operator=(const WindowsClassesRoot&) = delete;

    bool setDefaultValue(const QString& key, const QString& data) override;
    // Tells the shell that associations changed, so that Explorer shows the new icon at once.
    void finish() override;
    // As HKEY_CLASSES_ROOT shows it: the user's key where it exists, else the machine's. Paths and key names
    // are compared without case, as Windows names files and keys.
    bool holds(const QString& key, const QString& data) const override;

    // Whether rows went to the user's classes, because the machine's refused one.
    bool perUser() const { return perUser_; }

private:
    HKEY machine_ = nullptr;
    HKEY user_ = nullptr;
    HKEY machineToRead_ = nullptr;
    bool ownsRoots_ = false;
    bool perUser_ = false;
    bool wroteAny_ = false;
};

}  // namespace platform
