// SPDX-License-Identifier: GPL-3.0-or-later
// Where key material lives: locked pages of its own, out of core dumps; and a system that refuses the lock
// (an ordinary user without the right) still gets working keys.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/core/Kdf.h"
#include "engine/core/Secret.h"

namespace {

using engine::core::Secret;
using engine::core::SecretKey;

// The flags /proc/self/smaps gives the mapping that holds `address` ("lo" locked, "dd" not dumped).
std::string mappingFlags(const void* address) {
    const auto wanted = reinterpret_cast<std::uintptr_t>(address);
    std::ifstream smaps("/proc/self/smaps");
    bool inside = false;
    for (std::string line; std::getline(smaps, line);) {
        std::uintptr_t begin = 0;
        std::uintptr_t end = 0;
        char dash = 0;
        std::istringstream range(line);
        if (range >> std::hex >> begin >> dash >> end && dash == '-') inside = begin <= wanted && wanted < end;
        else if (inside && line.rfind("VmFlags:", 0) == 0) return line.substr(8) + ' ';
    }
    return "";
}

// Whether this system shows a page that anyone locks as locked: some refuse the lock (no right, a limit of
// zero) and some sandboxes accept it without reporting it, so the question is put to a page of our own.
bool lockedPagesAreShown() {
    const long page = ::sysconf(_SC_PAGESIZE);
    const std::size_t length = static_cast<std::size_t>(page);
    void* probe = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (probe == MAP_FAILED) return false;
    const bool shown = ::mlock(probe, length) == 0 && mappingFlags(probe).find(" lo ") != std::string::npos;
    ::munlock(probe, length);
    ::munmap(probe, length);
    return shown;
}

SecretKey someKey() {
    const unsigned char salt[16] = {1, 2, 3};
    return engine::core::scryptKey("password", salt, sizeof salt, {10, 8, 1});
}

TEST(SecretMemory, KeysLiveInLockedPagesKeptOutOfCoreDumps) {
    const SecretKey key = someKey();
    const Secret copy = key;
    for (const Secret* secret : {static_cast<const Secret*>(&key), &copy}) {
        const std::string flags = mappingFlags(secret->data());
        EXPECT_NE(flags.find(" dd "), std::string::npos) << flags;
        if (lockedPagesAreShown()) {
            EXPECT_NE(flags.find(" lo "), std::string::npos) << flags;
        }
    }
    // Pages of their own: no ordinary heap block shares them, so unlocking one never unlocks anything else.
    EXPECT_NE(mappingFlags(key.data()), "");
    const std::string ordinary = mappingFlags(std::string(64, 'x').data());
    EXPECT_EQ(ordinary.find(" lo "), std::string::npos) << ordinary;
}

TEST(SecretMemory, WithoutTheRightToLockKeysStillWork) {
    const SecretKey expected = someKey();
    const pid_t child = ::fork();
    if (child == 0) {
        // No lockable memory at all, and (as root) no privilege that would ignore the limit.
        const rlimit none{0, 0};
        bool ok = ::setrlimit(RLIMIT_MEMLOCK, &none) == 0 && (::geteuid() != 0 || ::setuid(65534) == 0);
        const SecretKey key = someKey();
        ok = ok && std::equal(key.data(), key.data() + key.size(), expected.data());
        ok = ok && mappingFlags(key.data()).find(" lo ") == std::string::npos;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace
