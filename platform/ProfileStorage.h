// SPDX-License-Identifier: GPL-3.0-or-later
// How a private-profile file is found, read and judged writable on this system (ProfileStoragePosix.cpp,
// ProfileStorageWin32.cpp); what it holds and how it is replaced is the same everywhere (ProfileFile.cpp).
// Paths are UTF-8 with '/'.
#pragma once

#include <optional>
#include <string>

namespace platform::profile_storage {

// The whole file, the empty text when it does not exist, nothing when it exists but cannot be read.
std::optional<std::string> readBytes(const std::string& path);
// The file a write replaces: the one a symbolic link names, else the path itself.
std::string writeTarget(const std::string& path);
// Whether the file must not be written: the read-only attribute, or no write permission at all.
bool isReadOnly(const std::string& target);

}  // namespace platform::profile_storage
