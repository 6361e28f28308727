// SPDX-License-Identifier: GPL-3.0-or-later
// The SHA-256 of a file's first bytes while the file is being written: a thread of its own reads them back
// behind the writer (from the page cache) as they are written. The writer never waits for the digest, and
// whatever of it is left when the writing ends runs while the file is made durable, when the cores would
// otherwise wait for the disk.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

#include "engine/core/Sha256.h"

namespace engine::core {

class FollowingDigest {
public:
    // Digests the bytes [0, limit) of the file open as `descriptor`, as they are reported written.
    FollowingDigest(int descriptor, std::uint64_t limit);
    // Stops the reading (an operation that failed no longer needs the digest).
    ~FollowingDigest();
    FollowingDigest(const FollowingDigest&) = delete;
    FollowingDigest& operator=(const FollowingDigest&) = delete;

    // The file holds its final bytes up to `end`. Called in increasing order.
    void writtenUpTo(std::uint64_t end);
    // Waits for the bytes up to the limit and returns the digest of them followed by `rest`; nothing when
    // they could not be read back. Call once, after the last writtenUpTo.
    std::optional<Sha256Digest> finish(std::span<const unsigned char> rest);

private:
    void follow();

    const int descriptor_;
    const std::uint64_t limit_;
    Sha256 sha_;
    std::mutex mutex_;
    std::condition_variable moved_;
    std::uint64_t written_ = 0;
    std::atomic<bool> abandoned_{false};
    bool failed_ = false;
    std::thread thread_;
};

}  // namespace engine::core
