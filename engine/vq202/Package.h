// SPDX-License-Identifier: GPL-3.0-or-later
// Writing and restoring a folder package. Both throw engine::Error; the exports turn it into ErrorMsg.
#pragma once

#include <cstddef>
#include <string>

#include "engine/Ports.h"
#include "engine/core/Header.h"
#include "engine/vq202/FolderProgress.h"

namespace VQ202::detail {

inline constexpr std::uint32_t kPackageChunkSize = engine::core::kDefaultChunkSize;
inline constexpr std::size_t kReadBlock = 4u << 20;
inline constexpr std::size_t kWriteBlock = 1u << 20;          // what one write-behind job carries
inline constexpr std::size_t kWriteBehindBytes = 8u << 20;    // what may wait for the disk at a time

// Seals the listed files of the list's folder into packagePath, then removes them.
void packFolder(const std::string& packagePath, const engine::FileList& files, const std::string& key,
                FolderProgress& progress);

// Restores the package's files into the package's folder, then removes the package.
void unpackFolder(const std::string& packagePath, const std::string& key, FolderProgress& progress);

// "a, b, c", at most a few names and then the count, so that the message stays readable.
std::string nameList(const std::vector<std::string>& names);

}  // namespace VQ202::detail
