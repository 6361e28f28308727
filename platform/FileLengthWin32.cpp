// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <cerrno>

#include "platform/RuntimeError.h"

namespace platform {
namespace {

// The errno value fileError knows for what Windows said.
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    default:
        return static_cast<int>(error);
    }
}

}  // namespace

std::uint64_t fileLength(const QString& path) {
    if (path.isEmpty()) throw fileError(ENOENT);
    const QString native = QString(path).replace(QLatin1Char('/'), QLatin1Char('\\'));
    // Without backup semantics a folder does not open: access denied, as the other system's EISDIR.
    const HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(native.utf16()), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw fileError(errnoOf(::GetLastError()));
    LARGE_INTEGER size{};
    const bool known = ::GetFileSizeEx(file, &size);
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    if (!known) throw fileError(errnoOf(error));
    return static_cast<std::uint64_t>(size.QuadPart);
}

}  // namespace platform
