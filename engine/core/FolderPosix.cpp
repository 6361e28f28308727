// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "engine/Ports.h"
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

bool Folder::sync(int anyDescriptorOnItsFileSystem) const {
    if (::fsync(fd_) == 0) return true;
    return anyDescriptorOnItsFileSystem >= 0 && ::syncfs(anyDescriptorOnItsFileSystem) == 0;
}

std::optional<std::uint64_t> Folder::freeSpace() const {
    struct statvfs fs {};
    if (::fstatvfs(fd_, &fs) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
}

int Folder::openForListing() const {
    return ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

}  // namespace engine::core
