// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/FileStatePosix.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"

namespace engine::core {

std::uint32_t processUmask() {
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(mask);
    }
    // Without /proc only setting it tells it: set it back at once.
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return mask;
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

namespace {

// Turns a failed open of the user's file into the error that tells why. ELOOP: a link put in the place of
// the file after its path was resolved.
[[noreturn]] void throwOpenError(int error, bool forWriting) {
    if (error == ENOENT) throw Error(msg::kFileMissing);
    if (error == ELOOP) throw Error(msg::kChangedMeanwhile);
    throw Error(forWriting ? msg::kCannotWrite : msg::kCannotRead);
}

// O_NONBLOCK: a FIFO put in the file's place must not hang the caller; regular files ignore it.
constexpr int kOpenFlags = O_CLOEXEC | O_NONBLOCK;

}  // namespace

InputFile::InputFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | kOpenFlags);
    if (fd < 0) throw Error(errno == ENOENT ? msg::kFileMissing : msg::kCannotRead);
    takeOpened(fd);
}

InputFile::InputFile(const Folder& folder, const std::string& name) {
    const int fd = ::openat(folder.descriptor(), name.c_str(), O_RDONLY | O_NOFOLLOW | kOpenFlags);
    if (fd < 0) throwOpenError(errno, false);
    takeOpened(fd);
}

void InputFile::takeOpened(int fd) {
    fd_ = fd;
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw Error(msg::kNotARegularFile);
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
    opened_ = fileStateOf(info);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool InputFile::unchangedIn(const Folder& folder, const std::string& name) const {
    const auto now = stateOf(fd_);
    const auto named = folder.entry(name);
    return now && named && sameFile(*named, opened_) && unchangedSince(opened_, *now);
}

OpenFile::OpenFile(const Folder& folder, const std::string& name, Access access)
    : fd_(::openat(folder.descriptor(), name.c_str(), (access == Access::Read ? O_RDONLY : O_RDWR) | O_NOFOLLOW | kOpenFlags)) {
    if (fd_ < 0) throwOpenError(errno, access != Access::Read);
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw Error(msg::kNotARegularFile);
    }
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
// `from` is a lookup-only descriptor of the replaced file: its attributes are read through its /proc entry,
// which needs no right to read the file and cannot lead anywhere else.
void copyExtendedAttributes(int from, int to) {
    const std::string path = "/proc/self/fd/" + std::to_string(from);
    const ssize_t listSize = ::listxattr(path.c_str(), nullptr, 0);
    if (listSize <= 0) return;
    std::vector<char> names(static_cast<std::size_t>(listSize));
    const ssize_t got = ::listxattr(path.c_str(), names.data(), names.size());
    if (got <= 0) return;
    for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
        const std::string name(names.data() + at);
        at += name.size() + 1;
        const bool mustCarry = name.rfind("user.", 0) == 0;
        const ssize_t valueSize = ::getxattr(path.c_str(), name.c_str(), nullptr, 0);
        std::vector<char> value(valueSize > 0 ? static_cast<std::size_t>(valueSize) : 0);
        const ssize_t read = value.empty() ? valueSize : ::getxattr(path.c_str(), name.c_str(), value.data(), value.size());
        const bool carried = read >= 0 && ::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(read), 0) == 0;
        if (!carried && mustCarry) throwWriteError(errno);
    }
}

// The file a replacement takes the place of, held open for lookups so that its owner, permissions and
// attributes are read from that very inode, whatever its name leads to meanwhile.
class ReplacedFile {
public:
    ReplacedFile(const Folder& folder, const std::string& name)
        : fd_(::openat(folder.descriptor(), name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC)) {
        if (fd_ < 0) {
            if (errno != ENOENT) throwWriteError(errno);
            return;
        }
        if (::fstat(fd_, &state_) != 0) throwWriteError(errno);
        if (!S_ISREG(state_.st_mode)) throw Error(msg::kChangedMeanwhile);  // a link or a folder now
    }
    ~ReplacedFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;
    bool exists() const { return fd_ >= 0; }
    int descriptor() const { return fd_; }
    const struct stat& state() const { return state_; }

private:
    int fd_ = -1;
    struct stat state_ {};
};

}  // namespace

void ReplacementFile::commit(std::uint64_t finalSize, const std::function<void()>& beforeRename) {
    const int fd = temp_.descriptor();
    const ReplacedFile original(folder_, name_);
    if (original.exists()) {
        const struct stat& was = original.state();
        // Only root may give a file away. Anyone else who may write the folder could still rename a result
        // over another user's file: it would then be theirs, and readable by their group.
        struct stat result {};
        if (::fchown(fd, was.st_uid, was.st_gid) != 0 &&
            (::fstat(fd, &result) != 0 || result.st_uid != was.st_uid || result.st_gid != was.st_gid))
            throw Error(msg::kOwnerNotKept);
        // The final permissions before the final name (after the owner, so that set-id bits survive): under
        // the user's name the result never has any other, whenever the process is stopped.
        if (::fchmod(fd, was.st_mode & 07777) != 0) throw Error(msg::kPermissionsNotKept);
        copyExtendedAttributes(original.descriptor(), fd);
    }
    temp_.syncWithSize(finalSize);
    reachMoment(Moment::ResultWritten);
    // Checked as late as possible: the fsync above can take long enough for an editor to save the file.
    if (beforeRename) beforeRename();
    folder_.requireStillInPlace();
    if (original.exists()) {
        // Still the very file whose owner and permissions the result took, and no link put in its place.
        const auto now = folder_.entry(name_);
        if (!now || !unchangedSince(fileStateOf(original.state()), *now)) throw Error(msg::kChangedMeanwhile);
        temp_.nameReplacing(name_);
    } else if (!temp_.nameAs(name_)) {
        throw Error(msg::kChangedMeanwhile);  // the free name was taken meanwhile: that file stays
    }
    reachMoment(Moment::ResultNamed);
    committed_ = stateOf(fd).value_or(FileState{});  // after the rename, which moves the change time
    if (!folder_.sync(fd)) throw Error(msg::kNotDurable);
}

}  // namespace engine::core
