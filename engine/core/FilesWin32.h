// SPDX-License-Identifier: GPL-3.0-or-later
// What the Win32 siblings of the file layer share: paths are UTF-8 with '/' above the interface and wide
// with '\' at the API; a descriptor is the C library's, wrapping the system's handle.
#pragma once

#include <windows.h>

#include <string>

#include "engine/core/FileState.h"

namespace engine::core {

// "C:/a/b" -> L"\\?\C:\a\b": no MAX_PATH limit, names in any script.
std::wstring widePath(const std::string& path);
// The other way, the "\\?\" prefix dropped.
std::string utf8Path(const std::wstring& path);
// The handle behind a descriptor; INVALID_HANDLE_VALUE for none.
HANDLE handleOf(int descriptor);
// Wraps `handle` in a descriptor that owns it (closing the descriptor closes the handle); -1, handle closed,
// when that fails.
int descriptorOf(HANDLE handle);
// What the system says of the open handle; nothing when it cannot tell.
std::optional<FileState> stateOfHandle(HANDLE handle);
// The path the handle is open on now, links resolved; empty when the system cannot tell.
std::string finalPathOf(HANDLE handle);
// Marks the open file (opened with DELETE access) for removal when its last handle closes, or takes that
// back; false when refused.
bool setDeleteOnClose(HANDLE handle, bool remove);
// Renames the open file (opened with DELETE access) to the wide path `target`, replacing what is there when
// `replace`; false with the system's error when refused.
bool renameOpenFile(HANDLE handle, const std::wstring& target, bool replace);
// The errno value that says the same as a Win32 error, for the engine's error messages.
int errnoOf(DWORD error);

// Share modes: the temporaries are the writer's alone; files the engine looks at stay open to everyone.
inline constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace engine::core
