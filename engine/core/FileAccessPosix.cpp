// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

std::optional<std::pair<std::uint64_t, std::uint64_t>> nextDataRange(int descriptor, std::uint64_t offset,
                                                                     std::uint64_t size) {
    const off_t start = ::lseek(descriptor, static_cast<off_t>(offset), SEEK_DATA);
    if (start < 0) {
        if (errno == ENXIO) return std::nullopt;
        return std::pair{offset, size};
    }
    if (static_cast<std::uint64_t>(start) >= size) return std::nullopt;
    const off_t end = ::lseek(descriptor, start, SEEK_HOLE);
    const std::uint64_t stop = end < 0 ? size : std::min<std::uint64_t>(static_cast<std::uint64_t>(end), size);
    return std::pair{static_cast<std::uint64_t>(start), stop};
}

bool setLength(int descriptor, std::uint64_t size, int& error) {
    if (::ftruncate(descriptor, static_cast<off_t>(size)) == 0) return true;
    error = errno;
    return false;
}

bool setPermissionsAndTime(int descriptor, std::uint32_t permissions, const FileTime& modified, int& error) {
    if (::fchmod(descriptor, static_cast<mode_t>(permissions)) == 0) return setModifiedTime(descriptor, modified, error);
    error = errno;
    return false;
}

bool setModifiedTime(int descriptor, const FileTime& modified, int& error) {
    const struct timespec times[2] = {{0, UTIME_OMIT},
                                      {static_cast<time_t>(modified.seconds), static_cast<long>(modified.nanoseconds)}};
    if (::futimens(descriptor, times) == 0) return true;
    error = errno;
    return false;
}

bool flushFileSystemOf(int descriptor, int& error) {
    if (::syncfs(descriptor) == 0) return true;
    error = errno;
    return false;
}

void adviseWillRead(int descriptor) { ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_WILLNEED); }

std::size_t openFileLimit() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) return 256;
    // The soft limit is a default for programs that do not know better; the hard one is what is allowed.
    const rlim_t wanted = std::min<rlim_t>(limit.rlim_max, rlim_t{1} << 20);
    if (limit.rlim_cur < wanted) {
        limit.rlim_cur = wanted;
        if (::setrlimit(RLIMIT_NOFILE, &limit) != 0) ::getrlimit(RLIMIT_NOFILE, &limit);
    }
    return static_cast<std::size_t>(limit.rlim_cur);
}

}  // namespace engine::core
