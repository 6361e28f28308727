// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/FollowingDigest.h"

#include <algorithm>
#include <vector>

#include "engine/core/FileAccess.h"

namespace engine::core {

FollowingDigest::FollowingDigest(int descriptor, std::uint64_t limit)
    : descriptor_(descriptor), limit_(limit), thread_([this] { follow(); }) {}

FollowingDigest::~FollowingDigest() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        abandoned_ = true;
    }
    moved_.notify_all();
    thread_.join();
}

void FollowingDigest::writtenUpTo(std::uint64_t end) {
    {
        std::lock_guard lock(mutex_);
        written_ = std::max(written_, end);
    }
    moved_.notify_all();
}

void FollowingDigest::follow() {
    std::vector<unsigned char> buffer(1u << 20);
    std::uint64_t done = 0;
    while (done < limit_) {
        std::uint64_t available;
        {
            std::unique_lock lock(mutex_);
            moved_.wait(lock, [&] { return abandoned_ || written_ > done; });
            if (abandoned_) return;
            available = std::min(written_, limit_);
        }
        while (done < available && !abandoned_) {
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), available - done));
            if (!readExactlyAt(descriptor_, buffer.data(), want, done)) {
                std::lock_guard lock(mutex_);
                failed_ = true;
                return;
            }
            sha_.update(buffer.data(), want);
            done += want;
        }
    }
}

std::optional<Sha256Digest> FollowingDigest::finish(std::span<const unsigned char> rest) {
    writtenUpTo(limit_);
    thread_.join();
    if (failed_) return std::nullopt;
    sha_.update(rest.data(), rest.size());
    return sha_.finish();
}

}  // namespace engine::core
