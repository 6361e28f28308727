#include "engine/core/FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/Messages.h"

namespace engine::core {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void throwWriteError(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            throw Error(msg::kDiskFull);
        case EACCES:
        case EPERM:
        case EROFS:
            throw Error(msg::kCannotWrite);
        default:
            throw Error(msg::kWriteFailed);
    }
}

std::string resolveRegularFile(const std::string& path) {
    if (path.empty()) throw Error(msg::kFileMissing);
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved)) {
        if (errno == EACCES) throw Error(msg::kCannotRead);
        throw Error(msg::kFileMissing);
    }
    struct stat info {};
    if (::stat(resolved, &info) != 0) throw Error(msg::kFileMissing);
    if (!S_ISREG(info.st_mode)) throw Error(msg::kNotARegularFile);
    return resolved;
}

InputFile::InputFile(const std::string& path) {
    // O_NONBLOCK: a FIFO put in the file's place must not hang the caller; regular files ignore it.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) throw Error(errno == ENOENT ? msg::kFileMissing : msg::kCannotRead);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw Error(msg::kNotARegularFile);
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
    opened_ = info;
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t InputFile::readAt(void* buffer, std::size_t count, std::uint64_t offset) const {
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) continue;
            throw Error(msg::kCannotRead);
        }
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool InputFile::readExactAt(void* buffer, std::size_t count, std::uint64_t offset) const {
    return readAt(buffer, count, offset) == count;
}

bool InputFile::unchangedAt(const std::string& path) const {
    struct stat now {};
    struct stat named {};
    return ::fstat(fd_, &now) == 0 && ::stat(path.c_str(), &named) == 0 && named.st_dev == opened_.st_dev &&
           named.st_ino == opened_.st_ino && now.st_size == opened_.st_size &&
           now.st_mtim.tv_sec == opened_.st_mtim.tv_sec && now.st_mtim.tv_nsec == opened_.st_mtim.tv_nsec;
}

OpenFile::OpenFile(const std::string& path, int flags) : fd_(::open(path.c_str(), flags | O_CLOEXEC)) {
    if (fd_ >= 0) return;
    if (errno == ENOENT) throw Error(msg::kFileMissing);
    throw Error((flags & O_ACCMODE) == O_RDONLY ? msg::kCannotRead : msg::kCannotWrite);
}

OpenFile::~OpenFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::uint64_t OpenFile::size() const {
    struct stat info {};
    if (::fstat(fd_, &info) != 0) throw Error(msg::kCannotRead);
    return static_cast<std::uint64_t>(info.st_size);
}

namespace {

std::string temporaryPrefixFor(const std::string& targetPath) {
    // A name near the file system's limit would leave no room for the suffix: shorten the part taken over.
    return "." + baseNameOf(targetPath).substr(0, 200) + ".mvxtmp-";
}

// A process that was killed while replacing a file leaves its temporary file behind, as big as the file.
// Every live replacement holds a lock on its temporary file, so one that can be locked is nobody's.
void removeAbandonedTemporaries(const std::string& folder, const std::string& prefix) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() != prefix.size() + 6 || name.compare(0, prefix.size(), prefix) != 0) continue;
        const int fd = ::openat(::dirfd(dir), name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(dir), name.c_str(), 0);
        ::close(fd);
    }
    ::closedir(dir);
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& targetPath, std::uint64_t expectedSize)
    : target_(targetPath) {
    const std::string folder = folderOf(targetPath);
    const std::string prefix = temporaryPrefixFor(targetPath);
    removeAbandonedTemporaries(folder, prefix);
    struct statvfs fs {};
    if (::statvfs(folder.c_str(), &fs) == 0) {
        const std::uint64_t available = static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
        if (available < expectedSize) throw Error(msg::kDiskFull);
    }
    createLockedTemporary(folder + "/" + prefix + "XXXXXX");
    if (expectedSize > 0) {
        const int rc = ::posix_fallocate(fd_, 0, static_cast<off_t>(expectedSize));
        if (rc != 0 && rc != EOPNOTSUPP && rc != EINVAL) {
            ::close(fd_);
            ::unlink(temp_.c_str());
            fd_ = -1;
            throwWriteError(rc);
        }
    }
}

void ReplacementFile::createLockedTemporary(const std::string& pattern) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        fd_ = ::mkostemp(name.data(), O_CLOEXEC);  // mkostemp creates with mode 0600
        if (fd_ < 0) throwWriteError(errno);
        // Held until the descriptor closes: tells other replacements of this file that the temporary is alive.
        ::flock(fd_, LOCK_EX);
        // Another replacement may have taken the fresh, not yet locked file for an abandoned one.
        struct stat mine {}, named {};
        if (::fstat(fd_, &mine) == 0 && ::stat(name.data(), &named) == 0 && mine.st_ino == named.st_ino &&
            mine.st_dev == named.st_dev) {
            temp_ = name.data();
            return;
        }
        ::close(fd_);
        fd_ = -1;
    }
    throw Error(msg::kWriteFailed);
}

ReplacementFile::~ReplacementFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void ReplacementFile::writeAt(const void* data, std::size_t count, std::uint64_t offset) {
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
    startWriteback(offset + count);
}

// Starts the disk writing the data behind us while we go on, so that the fsync at the end has little
// left to do. Only a hint: a failure shows up at fsync.
void ReplacementFile::startWriteback(std::uint64_t writtenUpTo) {
    constexpr std::uint64_t kWritebackStep = 8u << 20;
    if (writtenUpTo < writebackFrom_ + kWritebackStep) return;
    ::sync_file_range(fd_, static_cast<off_t>(writebackFrom_), static_cast<off_t>(writtenUpTo - writebackFrom_),
                      SYNC_FILE_RANGE_WRITE);
    writebackFrom_ = writtenUpTo;
}

void ReplacementFile::commit(std::uint64_t finalSize) { commit(finalSize, std::function<void()>{}); }

void ReplacementFile::commit(std::uint64_t finalSize, const InputFile& original) {
    commit(finalSize, [&] {
        if (!original.unchangedAt(target_)) throw Error(msg::kChangedMeanwhile);
    });
}

void ReplacementFile::commit(std::uint64_t finalSize, const std::function<void()>& beforeRename) {
    if (::ftruncate(fd_, static_cast<off_t>(finalSize)) != 0) throwWriteError(errno);
    struct stat original {};
    if (::stat(target_.c_str(), &original) == 0) {
        // Owner first: a change of owner clears the set-id bits that the mode then restores.
        if (::fchown(fd_, original.st_uid, original.st_gid) != 0) {
            // Only root may give a file away; our own files keep our ownership anyway.
        }
        // A result left at 0600 would silently lock others out of a file they could read before.
        if (::fchmod(fd_, original.st_mode & 07777) != 0) throwWriteError(errno);
    }
    if (::fsync(fd_) != 0) throwWriteError(errno);
    if (::close(fd_) != 0) {
        fd_ = -1;
        throwWriteError(errno);
    }
    fd_ = -1;
    // Checked as late as possible: the fsync above can take long enough for an editor to save the file.
    if (beforeRename) beforeRename();
    if (::rename(temp_.c_str(), target_.c_str()) != 0) throwWriteError(errno);
    committed_ = true;
    fsyncFolderOf(target_);
}

void fsyncFolderOf(const std::string& path) {
    const int dir = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

}  // namespace engine::core
