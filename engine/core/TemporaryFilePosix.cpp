// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/TemporaryFile.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/Background.h"
#include "engine/core/EntryNames.h"
#include "engine/core/FileAccess.h"
#include "engine/core/FileIO.h"
#include "engine/core/FileStatePosix.h"
#include "engine/core/Messages.h"

namespace engine::core {
namespace {

// An unnamed file can be given a name without privileges only through its /proc entry.
std::string procPathOf(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

bool canNameUnnamedFiles() {
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

// Closing the last descriptor of an abandoned result frees it, and that waits for the write-back begun behind
// the writer and gives its blocks back (discarding each on a disk mounted with discard): seconds for
// gigabytes, measured. Below this it takes no time worth a thread.
constexpr std::uint64_t kCloseInBackgroundFrom = 64u << 20;

}  // namespace

TemporaryFile::TemporaryFile(const Folder& folder, const std::string& nameHint, std::uint64_t reserve,
                             std::uint32_t unnamedMode)
    : folder_(folder), nameHint_(nameHint) {
    if (reserve > 0)
        if (const auto free = folder.freeSpace(); free && *free < reserve) throw Error(msg::kDiskFull);
    if (canNameUnnamedFiles()) {
        fd_ = ::openat(folder.descriptor(), ".", O_TMPFILE | O_RDWR | O_CLOEXEC, static_cast<mode_t>(unnamedMode));
        if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) throwWriteError(errno);
    }
    // Unnamed, the file needs no lock yet: only a hidden name can be swept (linkToHiddenName locks first).
    if (fd_ < 0) createNamed();
    if (reserve > 0) {
        reserved_ = reserve;
        const int rc = ::posix_fallocate(fd_, 0, static_cast<off_t>(reserve));
        if (rc != 0 && rc != EOPNOTSUPP && rc != EINVAL) {
            if (!hidden_.empty()) ::unlinkat(folder_.descriptor(), hidden_.c_str(), 0);
            hidden_.clear();
            ::close(fd_);
            fd_ = -1;
            throwWriteError(rc);
        }
    }
}

void TemporaryFile::createNamed() {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = temporaryNameFor(nameHint_, randomTemporarySuffix());
        fd_ = ::openat(folder_.descriptor(), name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ < 0) {
            if (errno == EEXIST) continue;
            throwWriteError(errno);
        }
        ::flock(fd_, LOCK_EX);
        // A sweep may have taken the fresh, not yet locked file for an abandoned one.
        const auto mine = stateOf(fd_);
        const auto named = folder_.entry(name);
        if (mine && named && sameFile(*mine, *named)) {
            hidden_ = name;
            return;
        }
        ::close(fd_);
        fd_ = -1;
    }
    throw Error(msg::kWriteFailed);
}

TemporaryFile::~TemporaryFile() {
    // Before the lock goes: nobody sweeps it meanwhile.
    if (!hidden_.empty()) ::unlinkat(folder_.descriptor(), hidden_.c_str(), 0);
    if (fd_ < 0) return;
    // Abandoned, it has no name any more and the user's file is as it was: the caller need not wait for it to
    // be freed. The next check of free space does (Folder::freeSpace).
    if (named_.empty() && reserved_ >= kCloseInBackgroundFrom) {
        try {
            finishInBackground(Background::Freeing, [fd = fd_] { ::close(fd); });
            return;
        } catch (...) {
            // No memory to hand it over: closed here.
        }
    }
    ::close(fd_);
}

void TemporaryFile::writeAt(const void* data, std::size_t count, std::uint64_t offset) {
    int error = 0;
    if (!writeAllAt(fd_, data, count, offset, error)) throwWriteError(error);
    // Start the disk writing the data behind us, so that the final fsync has little left to do. Only a
    // hint: a failure shows up at fsync.
    // Only whole megabytes go: a page under write-back cannot be written again until the disk has it, and
    // the next write would stall on the partly written page at the end.
    constexpr std::uint64_t kWritebackStep = 8u << 20;
    const std::uint64_t end = (offset + count) & ~std::uint64_t{(1u << 20) - 1};
    if (end >= writebackFrom_ + kWritebackStep) {
        ::sync_file_range(fd_, static_cast<off_t>(writebackFrom_), static_cast<off_t>(end - writebackFrom_),
                          SYNC_FILE_RANGE_WRITE);
        writebackFrom_ = end;
    }
}

void TemporaryFile::syncWithSize(std::uint64_t size) {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) throwWriteError(errno);
    if (::fsync(fd_) != 0) throwWriteError(errno);
}

std::string TemporaryFile::linkToHiddenName() {
    // Locked before it has a name that a sweep could take for an abandoned one.
    ::flock(fd_, LOCK_EX);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = temporaryNameFor(nameHint_, randomTemporarySuffix());
        if (::linkat(AT_FDCWD, procPathOf(fd_).c_str(), folder_.descriptor(), name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return name;
        if (errno != EEXIST) throwWriteError(errno);
    }
    throw Error(msg::kWriteFailed);
}

bool TemporaryFile::nameAs(const std::string& target) {
    const int dir = folder_.descriptor();
    if (hidden_.empty()) {
        if (::linkat(AT_FDCWD, procPathOf(fd_).c_str(), dir, target.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST) return false;
            throwWriteError(errno);
        }
    } else if (::renameat2(dir, hidden_.c_str(), dir, target.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) return false;
        if (errno != EINVAL && errno != ENOSYS) throwWriteError(errno);
        // A file system without RENAME_NOREPLACE: link() refuses an existing name just as well.
        if (::linkat(dir, hidden_.c_str(), dir, target.c_str(), 0) != 0) {
            if (errno == EEXIST) return false;
            throwWriteError(errno);
        }
        ::unlinkat(dir, hidden_.c_str(), 0);
    }
    hidden_.clear();
    named_ = target;
    identity_ = stateOf(fd_).value_or(FileState{});
    return true;
}

void TemporaryFile::nameReplacing(const std::string& target) {
    if (hidden_.empty()) hidden_ = linkToHiddenName();
    if (::renameat(folder_.descriptor(), hidden_.c_str(), folder_.descriptor(), target.c_str()) != 0)
        throwWriteError(errno);
    hidden_.clear();
    named_ = target;
    identity_ = stateOf(fd_).value_or(FileState{});
}

void TemporaryFile::unname() {
    if (named_.empty()) return;
    folder_.removeIfStill(named_, identity_);
    named_.clear();
}

void TemporaryFile::close() {
    if (named_.empty() || fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

}  // namespace engine::core
