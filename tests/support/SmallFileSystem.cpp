// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/SmallFileSystem.h"

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace testutil {

std::unique_ptr<SmallFileSystem> SmallFileSystem::mount(const std::string& at, std::size_t bytes, std::string& why) {
    if (::geteuid() != 0) {
        why = "a file system of its own takes root";
        return nullptr;
    }
    // The namespace's mounts are kept from the rest of the system before anything is mounted in it.
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        why = std::string("no mount namespace of its own: ") + std::strerror(errno);
        return nullptr;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0700";
    if (::mount("tmpfs", at.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        why = std::string("no tmpfs: ") + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<SmallFileSystem>(new SmallFileSystem(at));
}

SmallFileSystem::~SmallFileSystem() { ::umount2(at_.c_str(), MNT_DETACH); }

}  // namespace testutil
