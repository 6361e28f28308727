#include "engine/core/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/FileState.h"
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
    return ::fstat(fd_, &now) == 0 && ::stat(path.c_str(), &named) == 0 && sameFile(named, opened_) &&
           unchangedSince(opened_, now);
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

// Carries the extended attributes (user attributes, ACLs, security labels) of the replaced file to its
// replacement. Those of the user's own namespace must come along; the others where we are allowed to set them.
void copyExtendedAttributes(const std::string& from, int to) {
    const ssize_t listSize = ::llistxattr(from.c_str(), nullptr, 0);
    if (listSize <= 0) return;
    std::vector<char> names(static_cast<std::size_t>(listSize));
    const ssize_t got = ::llistxattr(from.c_str(), names.data(), names.size());
    if (got <= 0) return;
    for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
        const std::string name(names.data() + at);
        at += name.size() + 1;
        const bool mustCarry = name.rfind("user.", 0) == 0;
        const ssize_t valueSize = ::lgetxattr(from.c_str(), name.c_str(), nullptr, 0);
        std::vector<char> value(valueSize > 0 ? static_cast<std::size_t>(valueSize) : 0);
        const ssize_t read = value.empty() ? valueSize : ::lgetxattr(from.c_str(), name.c_str(), value.data(), value.size());
        const bool carried = read >= 0 && ::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(read), 0) == 0;
        if (!carried && mustCarry) throwWriteError(errno);
    }
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& targetPath, std::uint64_t expectedSize)
    : target_(targetPath),
      temp_([&] {
          struct stat info {};
          if (::stat(targetPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_nlink > 1)
              throw Error(msg::kHardLinks);
          sweepAbandonedTemporaries(folderOf(targetPath));
          return folderOf(targetPath);
      }(), baseNameOf(targetPath), expectedSize) {}

void ReplacementFile::commit(std::uint64_t finalSize) { commit(finalSize, std::function<void()>{}); }

void ReplacementFile::commit(std::uint64_t finalSize, const InputFile& original) {
    commit(finalSize, [&] {
        if (!original.unchangedAt(target_)) throw Error(msg::kChangedMeanwhile);
    });
}

void ReplacementFile::commit(std::uint64_t finalSize, const std::function<void()>& beforeRename) {
    const int fd = temp_.descriptor();
    struct stat original {};
    const bool hasOriginal = ::stat(target_.c_str(), &original) == 0;
    if (hasOriginal) {
        // Only root may give a file away. Anyone else who may write the folder could still rename a result
        // over another user's file: it would then be theirs, and readable by their group.
        struct stat result {};
        if (::fchown(fd, original.st_uid, original.st_gid) != 0 &&
            (::fstat(fd, &result) != 0 || result.st_uid != original.st_uid || result.st_gid != original.st_gid))
            throw Error(msg::kOwnerNotKept);
        copyExtendedAttributes(target_, fd);
    }
    temp_.syncWithSize(finalSize);
    // Checked as late as possible: the fsync above can take long enough for an editor to save the file.
    if (beforeRename) beforeRename();
    // Renaming takes a moment in which the result has a hidden name: it is 0600 then, and gets the original's
    // permissions only in the original's place (after the owner, so that set-id bits survive). A result
    // left at 0600 would silently lock others out of a file they could read before.
    temp_.nameReplacing(target_);
    if (hasOriginal) {
        if (::fchmod(fd, original.st_mode & 07777) != 0) throw Error(msg::kPermissionsNotKept);
        if (::fsync(fd) != 0) throw Error(msg::kNotDurable);
    }
    ::fstat(fd, &committed_);  // after the rename and the mode, which move the change time
    if (!syncFolder(folderOf(target_), fd)) throw Error(msg::kNotDurable);
}

}  // namespace engine::core
