#include "engine/core/TemporaryFile.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/EntryNames.h"
#include "engine/core/FileIO.h"
#include "engine/core/FileState.h"
#include "engine/core/Messages.h"

namespace engine::core {
namespace {

// The fallback's name for a file that will become `nameHint`, in `folder` (EntryNames.h gives its shape).
std::string hiddenName(const std::string& folder, const std::string& nameHint, const std::string& suffix) {
    return (folder.empty() || folder.back() != '/' ? folder + "/" : folder) + temporaryNameFor(nameHint, suffix);
}

// An unnamed file can be given a name without privileges only through its /proc entry.
std::string procPathOf(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

bool canNameUnnamedFiles() {
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

}  // namespace

std::optional<std::uint64_t> freeSpaceIn(const std::string& folder) {
    struct statvfs fs {};
    if (::statvfs(folder.c_str(), &fs) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
}

bool syncFolder(const std::string& folder, int anyDescriptorOnItsFileSystem) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        const bool synced = ::fsync(dir) == 0;
        ::close(dir);
        if (synced) return true;
    }
    return anyDescriptorOnItsFileSystem >= 0 && ::syncfs(anyDescriptorOnItsFileSystem) == 0;
}

TemporaryFile::TemporaryFile(const std::string& folder, const std::string& nameHint, std::uint64_t reserve)
    : folder_(folder), nameHint_(nameHint) {
    if (const auto free = freeSpaceIn(folder); free && *free < reserve) throw Error(msg::kDiskFull);
    if (canNameUnnamedFiles()) {
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) throwWriteError(errno);
    }
    if (fd_ >= 0) {
        // Locked although unnamed: it may get a name for a moment before its rename.
        ::flock(fd_, LOCK_EX);
    } else {
        createNamed(folder, nameHint);
    }
    if (reserve > 0) {
        const int rc = ::posix_fallocate(fd_, 0, static_cast<off_t>(reserve));
        if (rc != 0 && rc != EOPNOTSUPP && rc != EINVAL) {
            if (!hidden_.empty()) ::unlink(hidden_.c_str());
            hidden_.clear();
            ::close(fd_);
            fd_ = -1;
            throwWriteError(rc);
        }
    }
}

void TemporaryFile::createNamed(const std::string& folder, const std::string& nameHint) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::string pattern = hiddenName(folder, nameHint, "XXXXXX");  // mkostemp fills in the suffix
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        fd_ = ::mkostemp(name.data(), O_CLOEXEC);  // mode 0600
        if (fd_ < 0) throwWriteError(errno);
        ::flock(fd_, LOCK_EX);
        // A sweep may have taken the fresh, not yet locked file for an abandoned one.
        struct stat mine {}, named {};
        if (::fstat(fd_, &mine) == 0 && ::stat(name.data(), &named) == 0 && sameFile(mine, named)) {
            hidden_ = name.data();
            return;
        }
        ::close(fd_);
        fd_ = -1;
    }
    throw Error(msg::kWriteFailed);
}

TemporaryFile::~TemporaryFile() {
    if (!hidden_.empty()) ::unlink(hidden_.c_str());  // before the lock goes: nobody sweeps it meanwhile
    if (fd_ >= 0) ::close(fd_);
}

void TemporaryFile::writeAt(const void* data, std::size_t count, std::uint64_t offset) {
    const auto* in = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = ::pwrite(fd_, in + done, count - done, static_cast<off_t>(offset + done));
        if (put < 0) {
            if (errno == EINTR) continue;
            throwWriteError(errno);
        }
        done += static_cast<std::size_t>(put);
    }
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
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = hiddenName(folder_, nameHint_, randomTemporarySuffix());
        if (::linkat(AT_FDCWD, procPathOf(fd_).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return name;
        if (errno != EEXIST) throwWriteError(errno);
    }
    throw Error(msg::kWriteFailed);
}

bool TemporaryFile::nameAs(const std::string& target) {
    if (hidden_.empty()) {
        if (::linkat(AT_FDCWD, procPathOf(fd_).c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST) return false;
            throwWriteError(errno);
        }
    } else if (::renameat2(AT_FDCWD, hidden_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
        if (errno == EEXIST) return false;
        if (errno != EINVAL && errno != ENOSYS) throwWriteError(errno);
        // A file system without RENAME_NOREPLACE: link() refuses an existing name just as well.
        if (::link(hidden_.c_str(), target.c_str()) != 0) {
            if (errno == EEXIST) return false;
            throwWriteError(errno);
        }
        ::unlink(hidden_.c_str());
    }
    hidden_.clear();
    named_ = target;
    ::fstat(fd_, &identity_);
    return true;
}

void TemporaryFile::nameReplacing(const std::string& target) {
    if (hidden_.empty()) hidden_ = linkToHiddenName();
    if (::rename(hidden_.c_str(), target.c_str()) != 0) throwWriteError(errno);
    hidden_.clear();
    named_ = target;
    ::fstat(fd_, &identity_);
}

void TemporaryFile::unname() {
    if (named_.empty()) return;
    struct stat now {};
    if (::lstat(named_.c_str(), &now) == 0 && sameFile(identity_, now)) ::unlink(named_.c_str());
    named_.clear();
}

void TemporaryFile::close() {
    if (named_.empty() || fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

}  // namespace engine::core
