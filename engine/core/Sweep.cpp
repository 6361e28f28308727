#include "engine/core/Sweep.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include "engine/core/EntryNames.h"
#include "engine/core/FileState.h"

namespace engine::core {
namespace {

// FAT and exFAT show one mode for every file, whatever it was created with: there the mode tells nothing,
// and a rule on it would keep every leftover (plaintext among them) for good.
bool keepsModes(int fd) {
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0) return true;
    return fs.f_type != MSDOS_SUPER_MAGIC && fs.f_type != EXFAT_SUPER_MAGIC;
}

// What a temporary of ours looks like from outside. Another user's file is never ours, whatever its name;
// a second link or another mode means someone made or changed it since.
bool looksLikeOurs(const struct stat& info) {
    return S_ISREG(info.st_mode) && info.st_uid == ::geteuid() && info.st_nlink == 1;
}

bool hasOurMode(const struct stat& info, int fd) { return (info.st_mode & 07777) == 0600 || !keepsModes(fd); }

// Called for a name of the temporaries' shape. The checks run on the opened file, and the name must still
// lead to it right before the removal: swapped in the meantime, the other file stays. (Another user cannot
// swap a file of ours in a sticky folder; in a folder without the sticky bit he may remove any name anyway.)
void removeIfAbandoned(int folder, const char* name) {
    struct stat seen {};
    if (::fstatat(folder, name, &seen, AT_SYMLINK_NOFOLLOW) != 0 || !looksLikeOurs(seen)) return;
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat opened {}, now {};
    if (::fstat(fd, &opened) == 0 && sameFile(seen, opened) && looksLikeOurs(opened) && hasOurMode(opened, fd) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstatat(folder, name, &now, AT_SYMLINK_NOFOLLOW) == 0 &&
        sameFile(opened, now))
        ::unlinkat(folder, name, 0);
    ::close(fd);  // the lock goes with it
}

}  // namespace

void sweepAbandonedTemporariesIn(int folder) {
    const int listing = ::dup(folder);  // closedir closes what fdopendir took
    if (listing < 0) return;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return;
    }
    ::rewinddir(dir);  // the duplicate shares its position with `folder`
    while (const dirent* entry = ::readdir(dir))
        if (isTemporaryName(entry->d_name)) removeIfAbandoned(folder, entry->d_name);
    ::closedir(dir);
}

void sweepAbandonedTemporaries(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    sweepAbandonedTemporariesIn(fd);
    ::close(fd);
}

}  // namespace engine::core
