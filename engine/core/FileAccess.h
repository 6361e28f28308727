// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing an open file at an offset and making it durable: the calls each system names its own
// way, behind one interface (FileAccessPosix.cpp, FileAccessWin32.cpp). A descriptor is the C library's,
// on every system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "engine/core/FileState.h"

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

// All `count` bytes at `offset`; false on a read error or when the file ends first.
inline bool readExactlyAt(int descriptor, void* buffer, std::size_t count, std::uint64_t offset) {
    auto* out = static_cast<unsigned char*>(buffer);
    for (std::size_t done = 0; done < count;) {
        const auto got = readSomeAt(descriptor, out + done, count - done, offset + done);
        if (!got || *got == 0) return false;
        done += *got;
    }
    return true;
}

// The next stretch of data at or after `offset` in a file of `size` bytes, as [start, end); none when only
// holes are left. Where the system cannot tell, all of the rest is data.
std::optional<std::pair<std::uint64_t, std::uint64_t>> nextDataRange(int descriptor, std::uint64_t offset,
                                                                     std::uint64_t size);
// Sets the file's length; false with the system's error (an errno value) in `error`.
bool setLength(int descriptor, std::uint64_t size, int& error);
// Gives the file the permission bits `permissions` (POSIX encoding) and the modification time `modified`;
// the access time stays. Where the system keeps no permission bits, they are left to the folder's access
// list. false with the system's error in `error`.
bool setPermissionsAndTime(int descriptor, std::uint32_t permissions, const FileTime& modified, int& error);
// The modification time alone, for a file created with its permissions already.
bool setModifiedTime(int descriptor, const FileTime& modified, int& error);
// Makes everything written to files on the file system of `descriptor` durable (one flush for many files);
// false when the system did not take it. Where a file system cannot be flushed as a whole by an ordinary
// user, each temporary is flushed before it is given its name (TemporaryFile), and this has nothing left to do.
bool flushFileSystemOf(int descriptor, int& error);
// Tells the system that the whole file will be read soon.
void adviseWillRead(int descriptor);
// How many descriptors the process may hold open at once, raised first to the most it is allowed.
std::size_t openFileLimit();

}  // namespace engine::core
