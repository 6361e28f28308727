// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vq202/FolderFiles.h"

#include <atomic>
#include <thread>
#include <vector>

#include "engine/core/FileAccess.h"
#include "engine/core/FileIO.h"

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

RestoredFile::RestoredFile(const engine::core::Folder& folder, std::uint64_t size) : file_(folder, "", size) {}

void RestoredFile::write(const unsigned char* data, std::size_t size) {
    file_.writeAt(data, size, written_);
    written_ += size;
}

void RestoredFile::finish(const Entry& entry) {
    const int fd = file_.descriptor();
    int error = 0;
    if (!engine::core::setLength(fd, written_, error) ||
        !engine::core::setPermissionsAndTime(fd, entry.mode & kPermissionBits,
                                             {entry.mtimeSeconds, entry.mtimeNanoseconds}, error))
        throwWriteError(error);
}

}  // namespace VQ202::detail
