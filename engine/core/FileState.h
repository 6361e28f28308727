// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine knows of a file, the same on every system: which file it is (its volume and its number
// there), its size, times, mode and links. The system's sibling fills it in.
//
// What tells whether a file is still the one that was read: the same file, and nobody has written to it or
// changed its metadata since. The change time is part of it because a program that writes a file and then
// puts its modification time back (copying with times kept does that) leaves size and mtime as they were.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace engine::core {

struct FileTime {
    std::int64_t seconds = 0;
    std::uint32_t nanoseconds = 0;
    bool operator==(const FileTime&) const = default;
};

struct FileState {
    std::uint64_t volume = 0;  // device, or volume serial number
    std::uint64_t index = 0;   // inode, or file index on the volume
    std::uint64_t size = 0;
    FileTime modified;
    FileTime changed;          // metadata or content; where the system keeps no such time, the modification time
    std::uint32_t mode = 0;    // the file type and permission bits in the POSIX encoding
    std::uint32_t owner = 0;   // user and group ids; 0 where the system has none of that kind
    std::uint32_t group = 0;
    std::uint64_t links = 1;

    static constexpr std::uint32_t kTypeBits = 0170000;
    static constexpr std::uint32_t kRegular = 0100000;
    static constexpr std::uint32_t kFolder = 0040000;
    static constexpr std::uint32_t kPermissionBits = 07777;
    bool isRegular() const { return (mode & kTypeBits) == kRegular; }
    bool isFolder() const { return (mode & kTypeBits) == kFolder; }
    std::uint32_t permissions() const { return mode & kPermissionBits; }
};

inline bool sameFile(const FileState& a, const FileState& b) { return a.volume == b.volume && a.index == b.index; }

inline bool unchangedSince(const FileState& before, const FileState& now) {
    return sameFile(before, now) && before.size == now.size && before.modified == now.modified &&
           before.changed == now.changed;
}

// The state of an open file; nothing when the system cannot tell.
std::optional<FileState> stateOf(int descriptor);
// The state of whatever `path` names, a link followed; nothing when there is nothing.
std::optional<FileState> stateAt(const std::string& path);
// Whether the user this process runs as owns the file (where the system keeps owners by number).
bool ownedByThisUser(const FileState& state);

}  // namespace engine::core
