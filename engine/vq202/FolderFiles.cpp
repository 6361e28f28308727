#include "engine/vq202/FolderFiles.h"

#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/statvfs.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>
#include <vector>

#include "engine/core/FileIO.h"

namespace VQ202::detail {

using engine::core::throwWriteError;

std::string joinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

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

std::optional<struct stat> entryAt(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return std::nullopt;
    return info;
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool unchangedSince(const struct stat& before, const struct stat& now) {
    return sameFile(before, now) && before.st_size == now.st_size &&
           before.st_mtim.tv_sec == now.st_mtim.tv_sec && before.st_mtim.tv_nsec == now.st_mtim.tv_nsec;
}

std::optional<std::uint64_t> freeSpaceIn(const std::string& folder) {
    struct statvfs fs {};
    if (::statvfs(folder.c_str(), &fs) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
}

OpenFolder::OpenFolder(const std::string& folder) {
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) throwWriteError(errno);
}

OpenFolder::~OpenFolder() { ::close(fd_); }

void OpenFolder::syncEverythingWritten() {
    if (::syncfs(fd_) != 0) throwWriteError(errno);
}

void OpenFolder::fsync() {
    if (::fsync(fd_) != 0) throwWriteError(errno);
}

RestoredFile::RestoredFile(const std::string& folder, std::uint64_t size) {
    std::string pattern = joinPath(folder, ".mvxtmp-XXXXXX");
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) throwWriteError(errno);
    temp_ = name.data();
    if (size > 0) {
        const int rc = ::posix_fallocate(fd_, 0, static_cast<off_t>(size));
        if (rc != 0 && rc != EOPNOTSUPP && rc != EINVAL) {
            ::close(fd_);
            ::unlink(temp_.c_str());
            throwWriteError(rc);
        }
    }
}

RestoredFile::~RestoredFile() {
    if (fd_ >= 0) ::close(fd_);
    if (target_.empty()) ::unlink(temp_.c_str());
}

void RestoredFile::write(const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd_, data, size);
        if (put < 0) {
            if (errno == EINTR) continue;
            throwWriteError(errno);
        }
        data += put;
        size -= static_cast<std::size_t>(put);
        written_ += static_cast<std::uint64_t>(put);
    }
    // Let the disk write big files behind us, so that the final sync has little left to do.
    constexpr std::uint64_t kWritebackStep = 8u << 20;
    if (written_ >= writebackFrom_ + kWritebackStep) {
        ::sync_file_range(fd_, static_cast<off_t>(writebackFrom_), static_cast<off_t>(written_ - writebackFrom_),
                          SYNC_FILE_RANGE_WRITE);
        writebackFrom_ = written_;
    }
}

void RestoredFile::finish(const Entry& entry) {
    const struct timespec times[2] = {{0, UTIME_NOW},
                                      {static_cast<time_t>(entry.mtimeSeconds), static_cast<long>(entry.mtimeNanoseconds)}};
    if (::ftruncate(fd_, static_cast<off_t>(written_)) != 0 || ::fchmod(fd_, entry.mode & kPermissionBits) != 0 ||
        ::futimens(fd_, times) != 0)
        throwWriteError(errno);
    const int rc = ::close(fd_);
    fd_ = -1;
    if (rc != 0) throwWriteError(errno);
}

bool RestoredFile::commitAs(const std::string& target) {
    if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
        target_ = target;
        return true;
    }
    if (errno == EEXIST) return false;
    if (errno != EINVAL && errno != ENOSYS) throwWriteError(errno);
    // A file system without RENAME_NOREPLACE: link() refuses an existing name just as well.
    if (::link(temp_.c_str(), target.c_str()) != 0) {
        if (errno == EEXIST) return false;
        throwWriteError(errno);
    }
    target_ = target;
    ::unlink(temp_.c_str());
    return true;
}

void RestoredFile::commitReplacing(const std::string& target) {
    if (::rename(temp_.c_str(), target.c_str()) != 0) throwWriteError(errno);
    target_ = target;
}

void RestoredFile::withdraw() {
    if (target_.empty()) return;
    // Back to the temporary name, which the destructor then removes: the package still holds the file.
    if (::rename(target_.c_str(), temp_.c_str()) == 0) target_.clear();
}

}  // namespace VQ202::detail
