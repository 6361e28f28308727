// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing an open file at an offset and making it durable: the calls each system names its own
// way, behind one interface (FileAccessPosix.cpp, FileAccessWin32.cpp). A descriptor is the C library's,
// on every system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace engine::core {

// Up to `count` bytes at `offset` (interrupted reads are retried): how many, 0 at the end of the file,
// nothing on a read error.
std::optional<std::size_t> readSomeAt(int descriptor, void* buffer, std::size_t count, std::uint64_t offset);
// All `count` bytes at `offset`; false on a write error, with the system's error in `error` (an errno value).
bool writeAllAt(int descriptor, const void* data, std::size_t count, std::uint64_t offset, int& error);
// Whether a failed write's errno says the user's disk quota is used up.
bool isQuotaExceeded(int error);
// The file's content and metadata on the disk; false when the disk did not take them.
bool flushToDisk(int descriptor);

}  // namespace engine::core
