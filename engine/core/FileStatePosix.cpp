// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/FileStatePosix.h"

#include <unistd.h>

namespace engine::core {

std::optional<FileState> stateOf(int descriptor) {
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) return std::nullopt;
    return fileStateOf(info);
}

std::optional<FileState> stateAt(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return fileStateOf(info);
}

bool ownedByThisUser(const FileState& state) { return state.owner == static_cast<std::uint32_t>(::geteuid()); }

}  // namespace engine::core
