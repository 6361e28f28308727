// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vq202/FolderFiles.h"

#include <atomic>
#include <thread>
#include <vector>

#include "engine/core/FileAccess.h"
#include "engine/core/FileIO.h"
#include "engine/core/FileState.h"

namespace VQ202::detail {

using engine::core::throwWriteError;

void inParallel(std::size_t count, const std::function<void(std::size_t)>& work) {
    constexpr std::size_t kThreads = 8;
    std::atomic<std::size_t> next{0};
    const auto drain = [&] {
        for (std::size_t i = next++; i < count; i = next++) work(i);
    };
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < std::min(kThreads, count); ++t) helpers.emplace_back(drain);
    drain();
}

namespace {

// From this size a restored file gets its space reserved at once (fewer, longer extents for a big file).
// A smaller one is written by one or two writes anyway, and the restore checked the space for all its
// files before the first: a reservation would only add a free-space query and a journal transaction.
constexpr std::uint64_t kReserveFrom = 1u << 20;

}  // namespace

RestoredFile::RestoredFile(const engine::core::Folder& folder, const Entry& entry)
    : folder_(folder), size_(entry.size), mode_(entry.mode & kPermissionBits),
      modified_{entry.mtimeSeconds, entry.mtimeNanoseconds} {}

engine::core::TemporaryFile& RestoredFile::opened() {
    if (file_) return *file_;
    file_.emplace(folder_, "", size_ >= kReserveFrom ? size_ : 0, mode_);
    // The mode it was made with: the umask (already taken out of mode_) or a folder's default access list
    // may have changed it, and then it is set once the file is complete.
    identity_ = engine::core::stateOf(file_->descriptor()).value_or(engine::core::FileState{});
    hasItsMode_ = identity_.permissions() == mode_;
    return *file_;
}

void RestoredFile::write(const unsigned char* data, std::size_t size) {
    opened().writeAt(data, size, written_);
    written_ += size;
}

void RestoredFile::finish() {
    const int fd = opened().descriptor();
    int error = 0;
    // Only a reservation can have made the file longer than what was written.
    const bool reserved = size_ >= kReserveFrom;
    if ((reserved && written_ != size_ && !engine::core::setLength(fd, written_, error)) ||
        !(hasItsMode_ ? engine::core::setModifiedTime(fd, modified_, error)
                      : engine::core::setPermissionsAndTime(fd, mode_, modified_, error)))
        throwWriteError(error);
}

}  // namespace VQ202::detail
