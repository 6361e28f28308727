// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <cerrno>

#include "engine/core/FileAccess.h"

namespace engine::core {

std::optional<std::size_t> readSomeAt(int descriptor, void* buffer, std::size_t count, std::uint64_t offset) {
    for (;;) {
        const ssize_t got = ::pread(descriptor, buffer, count, static_cast<off_t>(offset));
        if (got >= 0) return static_cast<std::size_t>(got);
        if (errno != EINTR) return std::nullopt;
    }
}

bool writeAllAt(int descriptor, const void* data, std::size_t count, std::uint64_t offset, int& error) {
    const auto* in = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::pwrite(descriptor, in + done, count - done, static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool isQuotaExceeded(int error) { return error == EDQUOT; }

bool flushToDisk(int descriptor) { return ::fsync(descriptor) == 0; }

}  // namespace engine::core
