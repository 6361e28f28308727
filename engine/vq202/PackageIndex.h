// SPDX-License-Identifier: GPL-3.0-or-later
// The table of contents that opens a package's plaintext: which files follow, in which order, with their
// sizes, times and permissions. Byte layout: docs/FORMAT.md, "Folder package".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace VQ202::detail {

inline constexpr std::uint32_t kMaxEntries = 1'000'000;
inline constexpr std::size_t kMaxNameLength = 255;  // NAME_MAX: longer names cannot be created anyway
inline constexpr std::size_t kMaxPathLength = 4095;  // PATH_MAX less its NUL, for a tree's relative paths
inline constexpr std::uint32_t kPermissionBits = 0777;

// Version 2 holds the files at the folder's top; version 3 a whole tree: each entry's kind comes first, and
// its name is a relative path ("a/b/c.txt"). Every folder is an entry before anything inside it.
enum class IndexLayout { Flat, Tree };

struct Entry {
    std::string name;  // bare name inside the folder, or (Tree) the path relative to it
    std::uint64_t size = 0;
    std::int64_t mtimeSeconds = 0;
    std::uint32_t mtimeNanoseconds = 0;
    std::uint32_t mode = 0;  // permission bits only
    bool folder = false;     // (Tree) a folder: no content
};

// A name that stays inside the folder: not empty, not "." or "..", no "/", "\" or NUL, at most 255 bytes.
bool isSafeName(std::string_view name);

// A relative path of safe names joined by "/" (none empty: no leading, trailing or doubled "/"), at most
// kMaxPathLength bytes.
bool isSafePath(std::string_view path);
// "a/b/c" -> {"a/b", "c"}; "c" -> {"", "c"}.
std::pair<std::string_view, std::string_view> splitPath(std::string_view path);

// Refuses (engine::Error, naming them) entries whose names no file may get here: the shape of the engine's
// hidden temporaries, which the next operation in the folder would sweep away, or control characters.
void refuseUnrestorableNames(const std::vector<Entry>& entries);

std::vector<unsigned char> serializeIndex(const std::vector<Entry>& entries, IndexLayout layout);

// Reads the index from the front of the plaintext as it arrives in pieces of any size.
class IndexParser {
public:
    explicit IndexParser(IndexLayout layout) : layout_(layout) {}
    // Consumes bytes up to the end of the index and returns how many it took; throws engine::Error
    // (damaged) on a field outside the format.
    std::size_t feed(const unsigned char* data, std::size_t size);
    bool complete() const { return state_ == State::Complete; }
    std::uint64_t bytesRead() const { return bytesRead_; }
    std::vector<Entry>& entries() { return entries_; }

private:
    enum class State { Count, Kind, NameLength, EntryBody, Complete };
    void fieldReady();
    void nextEntry();
    IndexLayout layout_;
    State state_ = State::Count;
    std::size_t need_ = 4;
    std::vector<unsigned char> field_;
    std::uint32_t remaining_ = 0;
    std::uint16_t nameLength_ = 0;
    bool folder_ = false;
    std::uint64_t bytesRead_ = 0;
    std::vector<Entry> entries_;
};

}  // namespace VQ202::detail
