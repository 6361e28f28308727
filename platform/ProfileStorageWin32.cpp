// SPDX-License-Identifier: GPL-3.0-or-later
// Files are opened by their wide names, so that a profile in a folder of any script (a user's %APPDATA%
// under a Czech name) is found; others may read and write it meanwhile, as Windows' own profile calls allow.
#include "engine/core/FilesWin32.h"
#include "platform/ProfileStorage.h"

namespace platform::profile_storage {

using engine::core::widePath;

std::optional<std::string> readBytes(const std::string& path) {
    const HANDLE file = ::CreateFileW(widePath(path).c_str(), GENERIC_READ, engine::core::kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return std::string();
        return std::nullopt;
    }
    std::string bytes;
    char buffer[16384];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            ::CloseHandle(file);
            return std::nullopt;
        }
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    ::CloseHandle(file);
    return bytes;
}

std::string writeTarget(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return path;
    const HANDLE link = ::CreateFileW(widePath(path).c_str(), FILE_READ_ATTRIBUTES, engine::core::kShareAll, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (link == INVALID_HANDLE_VALUE) return path;
    const std::string resolved = engine::core::finalPathOf(link);
    ::CloseHandle(link);
    return resolved.empty() ? path : resolved;
}

bool isReadOnly(const std::string& target) {
    const DWORD attributes = ::GetFileAttributesW(widePath(target).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace platform::profile_storage
