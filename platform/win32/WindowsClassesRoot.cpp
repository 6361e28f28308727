// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/win32/WindowsClassesRoot.h"

#include <shlobj.h>

namespace platform {
namespace {

bool writeDefaultValue(HKEY root, const QString& key, const QString& data) {
    HKEY handle = nullptr;
    const std::wstring keyName = key.toStdWString();
    if (RegCreateKeyExW(root, keyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring value = data.toStdWString();
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const bool written = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        bytes) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return written;
}

HKEY openClasses(HKEY hive) {
    HKEY classes = nullptr;
    // Opened for what the rows need only: a user without administrator rights gets no handle to the
    // machine's classes, and the rows go to the user's.
    if (RegCreateKeyExW(hive, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_CREATE_SUB_KEY | KEY_SET_VALUE, nullptr, &classes, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return classes;
}

}  // namespace

WindowsClassesRoot::WindowsClassesRoot(HKEY machineClasses, HKEY userClasses)
    : machine_(machineClasses), user_(userClasses) {}

WindowsClassesRoot::WindowsClassesRoot()
    : machine_(openClasses(HKEY_LOCAL_MACHINE)), user_(openClasses(HKEY_CURRENT_USER)), ownsRoots_(true) {}

WindowsClassesRoot::~WindowsClassesRoot() {
    if (!ownsRoots_) return;
    if (machine_) RegCloseKey(machine_);
    if (user_) RegCloseKey(user_);
}

bool WindowsClassesRoot::setDefaultValue(const QString& key, const QString& data) {
    // Once the machine's classes refused a row, the rest go to the user's: HKEY_CLASSES_ROOT merges both
    // key by key, so the association is whole either way, and no row is tried twice.
    if (!perUser_ && machine_ && writeDefaultValue(machine_, key, data)) return wroteAny_ = true;
    perUser_ = true;
    return user_ && writeDefaultValue(user_, key, data) && (wroteAny_ = true);
}

void WindowsClassesRoot::finish() {
    if (wroteAny_) SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

}  // namespace platform
