#include "platform/WindowsClassesRoot.h"

#ifdef _WIN32

#include <windows.h>

namespace platform {

bool WindowsClassesRoot::setDefaultValue(const QString& key, const QString& data) {
    HKEY handle = nullptr;
    const std::wstring keyName = key.toStdWString();
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, keyName.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring value = data.toStdWString();
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    const bool written = RegSetValueExW(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        bytes) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return written;
}

}  // namespace platform

#endif
