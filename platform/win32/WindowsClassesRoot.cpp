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

// The default value of `key` under `root`; empty when the key or its value is missing. A value that grows
// between the two reads reads as missing: the row is written again, no harm.
QString readDefaultValue(HKEY root, const QString& key) {
    const std::wstring keyName = key.toStdWString();
    DWORD bytes = 0;
    if (!root || RegGetValueW(root, keyName.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return {};
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(root, keyName.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) != ERROR_SUCCESS)
        return {};
    return QString::fromWCharArray(value.c_str());
}

bool keyExists(HKEY root, const QString& key) {
    HKEY handle = nullptr;
    if (!root || RegOpenKeyExW(root, key.toStdWString().c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

HKEY openClasses(HKEY hive) {
    HKEY classes = nullptr;
    // Opened for what the rows need only: a user without administrator rights gets no handle to the
    // machine's classes, and the rows go to the user's.
    const REGSAM rights = KEY_CREATE_SUB_KEY | KEY_SET_VALUE | KEY_QUERY_VALUE;
    if (RegCreateKeyExW(hive, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE, rights, nullptr, &classes,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return classes;
}

HKEY openClassesToRead(HKEY hive) {
    HKEY classes = nullptr;
    return RegOpenKeyExW(hive, L"Software\\Classes", 0, KEY_QUERY_VALUE, &classes) == ERROR_SUCCESS ? classes : nullptr;
}

}  // namespace

WindowsClassesRoot::WindowsClassesRoot(HKEY machineClasses, HKEY userClasses, HKEY machineClassesToRead)
    : machine_(machineClasses),
      user_(userClasses),
      machineToRead_(machineClassesToRead ? machineClassesToRead : machineClasses) {}

WindowsClassesRoot::WindowsClassesRoot()
    : machine_(openClasses(HKEY_LOCAL_MACHINE)),
      user_(openClasses(HKEY_CURRENT_USER)),
      machineToRead_(machine_ ? machine_ : openClassesToRead(HKEY_LOCAL_MACHINE)),
      ownsRoots_(true) {}

WindowsClassesRoot::~WindowsClassesRoot() {
    if (!ownsRoots_) return;
    if (machineToRead_ && machineToRead_ != machine_) RegCloseKey(machineToRead_);
    if (machine_) RegCloseKey(machine_);
    if (user_) RegCloseKey(user_);
}

bool WindowsClassesRoot::holds(const QString& key, const QString& data) const {
    const QString value = readDefaultValue(keyExists(user_, key) ? user_ : machineToRead_, key);
    return !value.isEmpty() && value.compare(data, Qt::CaseInsensitive) == 0;
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
