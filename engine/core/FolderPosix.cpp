// SPDX-License-Identifier: GPL-3.0-or-later
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "engine/Ports.h"
#include "engine/core/Background.h"
#include "engine/core/FileIO.h"
#include "engine/core/FileStatePosix.h"
#include "engine/core/Folder.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"

namespace engine::core {
namespace {

std::string resolvedFolder(const std::string& path) {
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved)) throw Error(errno == EACCES ? msg::kCannotRead : msg::kFileMissing);
    return resolved;
}

// What the kernel says the descriptor is now; empty when /proc cannot tell.
std::string currentPathOf(int fd) {
    char buffer[PATH_MAX + 1];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = ::readlink(link.c_str(), buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

// Whether `fd` is the folder at `path`: by the kernel's own name for it, or where /proc is missing by
// comparing it with what the path leads to now.
bool isAt(int fd, const std::string& path) {
    const std::string now = currentPathOf(fd);
    if (!now.empty()) return now == path;
    struct stat opened {}, named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           sameFile(fileStateOf(opened), fileStateOf(named));
}

}  // namespace

Folder::Folder(const std::string& path) : path_(resolvedFolder(path)) {
    // Read access lets the folder be fsynced and listed; a folder one may only enter and write is opened for
    // lookups alone (O_PATH), which every *at call takes as well.
    fd_ = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0 && errno == EACCES) fd_ = ::open(path_.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd_ < 0) {
        if (errno == ELOOP || errno == ENOTDIR) throw Error(msg::kFolderMovedMeanwhile);
        throw Error(errno == ENOENT ? msg::kFileMissing : msg::kCannotWrite);
    }
    if (!isAt(fd_, path_)) {
        ::close(fd_);
        fd_ = -1;
        throw Error(msg::kFolderMovedMeanwhile);
    }
    reachMoment(Moment::FolderOpened);
}

Folder Folder::subfolder(const Folder& parent, const std::string& name) {
    int fd = ::openat(parent.fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0 && errno == EACCES) fd = ::openat(parent.fd_, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP || errno == ENOTDIR) throw Error(msg::kFolderMovedMeanwhile);
        throw Error(errno == ENOENT ? msg::kFileMissing : msg::kCannotRead);
    }
    return Folder(parent.pathOf(name), fd);
}

Folder Folder::newSubfolder(const Folder& parent, const std::string& name) {
    if (::mkdirat(parent.fd_, name.c_str(), 0700) != 0) throwWriteError(errno);
    return subfolder(parent, name);
}

Folder::~Folder() {
    if (fd_ >= 0) ::close(fd_);
}

Folder::Folder(Folder&& other) noexcept : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

std::string Folder::pathOf(const std::string& name) const {
    return path_.back() == '/' ? path_ + name : path_ + "/" + name;
}

std::optional<FileState> Folder::entry(const std::string& name) const {
    struct stat info {};
    if (::fstatat(fd_, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return fileStateOf(info);
}

void Folder::requireStillInPlace() const {
    if (!isAt(fd_, path_)) throw Error(msg::kFolderMovedMeanwhile);
}

bool Folder::removeIfStill(const std::string& name, const FileState& expected) const {
    // No system call removes a name only if it still leads to a given inode; between the check and the
    // removal only someone who could remove or rename the name himself can change it (docs/SECURITY.md).
    const auto now = entry(name);
    return now && sameFile(*now, expected) && ::unlinkat(fd_, name.c_str(), 0) == 0;
}

bool Folder::removeFolderIfStill(const std::string& name, const FileState& expected) const {
    const auto now = entry(name);
    return now && now->isFolder() && sameFile(*now, expected) && ::unlinkat(fd_, name.c_str(), AT_REMOVEDIR) == 0;
}

std::vector<std::string> Folder::names() const {
    const int listing = openForListing();
    DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0) ::close(listing);
        throw Error(msg::kCannotRead);
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* found = ::readdir(dir)) {
        const std::string_view name = found->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    const bool complete = errno == 0;
    ::closedir(dir);
    if (!complete) throw Error(msg::kCannotRead);
    return names;
}

bool Folder::setModeAndTime(std::uint32_t mode, std::int64_t seconds, std::uint32_t nanoseconds) const {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(seconds), static_cast<long>(nanoseconds)}};
    return ::fchmod(fd_, static_cast<mode_t>(mode)) == 0 && ::futimens(fd_, times) == 0;
}

bool Folder::sync(int anyDescriptorOnItsFileSystem) const {
    if (::fsync(fd_) == 0) return true;
    return anyDescriptorOnItsFileSystem >= 0 && ::syncfs(anyDescriptorOnItsFileSystem) == 0;
}

std::optional<std::uint64_t> Folder::freeSpace() const {
    waitForBackgroundWork(Background::Freeing);  // an abandoned result being freed still holds its space
    struct statvfs fs {};
    if (::fstatvfs(fd_, &fs) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
}

int Folder::openForListing() const {
    return ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace engine::core
