// SPDX-License-Identifier: GPL-3.0-or-later
// The POSIX siblings' way from struct stat to the engine's FileState.
#pragma once

#include <sys/stat.h>

#include "engine/core/FileState.h"

namespace engine::core {

inline FileState fileStateOf(const struct stat& info) {
    FileState state;
    state.volume = static_cast<std::uint64_t>(info.st_dev);
    state.index = static_cast<std::uint64_t>(info.st_ino);
    state.size = static_cast<std::uint64_t>(info.st_size);
    state.modified = {info.st_mtim.tv_sec, static_cast<std::uint32_t>(info.st_mtim.tv_nsec)};
    state.changed = {info.st_ctim.tv_sec, static_cast<std::uint32_t>(info.st_ctim.tv_nsec)};
    state.mode = static_cast<std::uint32_t>(info.st_mode);
    state.owner = static_cast<std::uint32_t>(info.st_uid);
    state.group = static_cast<std::uint32_t>(info.st_gid);
    state.links = static_cast<std::uint64_t>(info.st_nlink);
    return state;
}

}  // namespace engine::core
