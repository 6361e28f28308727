// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/Sweep.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <string>

#include "engine/core/EntryNames.h"
#include "engine/core/FileStatePosix.h"

namespace engine::core {
namespace {

constexpr mode_t kPermissionBits = 07777;

// FAT and exFAT show one mode for every file, whatever it was created with: there the mode tells nothing,
// and a rule on it would keep every leftover (plaintext among them) for good.
bool keepsModes(int fd) {
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0) return true;
    return fs.f_type != MSDOS_SUPER_MAGIC && fs.f_type != EXFAT_SUPER_MAGIC;
}

// What a temporary of ours looks like from outside. Another user's file is never ours, whatever its name;
// a second link means someone made one since.
bool looksLikeOurs(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_nlink == 1;
}

// A temporary is 0600 while it is written. A replacement takes the mode of the file it replaces just before
// it is named, so one left by a kill in that instant has that file's mode; the file is still there, because
// the kill came before the rename. Any other mode marks a user's own file of that name.
bool hasATemporarysMode(int folder, const char* name, const struct stat& info, int fd) {
    const mode_t mode = info.st_mode & kPermissionBits;
    if (mode == 0600 || !keepsModes(fd)) return true;
    const std::string replaced(finalNameOf(name));
    struct stat original {};
    return !replaced.empty() && ::fstatat(folder, replaced.c_str(), &original, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(original.st_mode) && (original.st_mode & kPermissionBits) == mode;
}

// Whether nobody writes the temporary any more. Every live temporary is locked by its writer: one that can be
// locked is nobody's. Where the file system keeps no locks at all (NFS without its lock service answers
// ENOLCK) a writer's lock cannot be seen either: then only a temporary whose inode has not changed for a day,
// far longer than any run takes between two writes or namings, counts as abandoned.
bool isAbandoned(int fd, const struct stat& info) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
    constexpr time_t kDay = 24 * 60 * 60;
    return errno == ENOLCK && ::time(nullptr) - info.st_ctim.tv_sec > kDay;
}

// Called for a name of the temporaries' shape. The checks run on the opened file, and the name must still
// lead to it right before the removal: swapped in the meantime, the other file stays. (Another user cannot
// swap a file of ours in a sticky folder; in a folder without the sticky bit he may remove any name anyway.)
void removeIfAbandoned(int folder, const char* name) {
    struct stat seen {};
    if (::fstatat(folder, name, &seen, AT_SYMLINK_NOFOLLOW) != 0 || !looksLikeOurs(seen)) return;
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat opened {}, now {};
    if (::fstat(fd, &opened) == 0 && sameFile(fileStateOf(seen), fileStateOf(opened)) && looksLikeOurs(opened) &&
        hasATemporarysMode(folder, name, opened, fd) && isAbandoned(fd, opened) &&
        ::fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && sameFile(fileStateOf(opened), fileStateOf(now)))
        ::unlinkat(folder, name, 0);
    ::close(fd);  // the lock goes with it
}

}  // namespace

void sweepAbandonedTemporaries(const Folder& folder) {
    const int listing = folder.openForListing();
    DIR* dir = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!dir) {
        if (listing >= 0) ::close(listing);
        return;
    }
    while (const dirent* entry = ::readdir(dir))
        if (isTemporaryName(entry->d_name)) removeIfAbandoned(folder.descriptor(), entry->d_name);
    ::closedir(dir);
}

}  // namespace engine::core
