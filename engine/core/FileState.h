// SPDX-License-Identifier: GPL-3.0-or-later
// What tells whether a file is still the one that was read: the same inode, and nobody has written to it or
// changed its inode since. The change time is part of it because a program that writes a file and then puts
// its modification time back (copying with times kept does that) leaves size and mtime as they were.
#pragma once

#include <sys/stat.h>

namespace engine::core {

inline bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

inline bool unchangedSince(const struct stat& before, const struct stat& now) {
    return sameFile(before, now) && before.st_size == now.st_size &&
           before.st_mtim.tv_sec == now.st_mtim.tv_sec && before.st_mtim.tv_nsec == now.st_mtim.tv_nsec &&
           before.st_ctim.tv_sec == now.st_ctim.tv_sec && before.st_ctim.tv_nsec == now.st_ctim.tv_nsec;
}

}  // namespace engine::core
