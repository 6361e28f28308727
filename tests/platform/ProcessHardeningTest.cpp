// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up's first step, run in a child so that the test program itself stays dumpable and the other
// cases (and the sanitizers' reports) are unaffected.
#include "platform/ProcessHardening.h"

#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace {

// Runs `check` in a child process after `prepare`; true when every check held there.
bool holdsInChild(const std::function<void()>& prepare, const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        prepare();
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool notDumpable() { return ::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0) == 0; }

bool noCoreFiles() {
    rlimit core{};
    return ::getrlimit(RLIMIT_CORE, &core) == 0 && core.rlim_cur == 0 && core.rlim_max == 0;
}

// A crash collector may have raised the limit for the whole session: the program lowers both limits anyway.
void allowCoreFiles() {
    rlimit core{};
    ::getrlimit(RLIMIT_CORE, &core);
    core.rlim_cur = core.rlim_max;
    ::setrlimit(RLIMIT_CORE, &core);
}

TEST(ProcessHardening, TheProcessIsNotDumpableAndWritesNoCoreFile) {
    ASSERT_FALSE(holdsInChild(allowCoreFiles, notDumpable)) << "the test's own process must start dumpable";
    EXPECT_TRUE(holdsInChild(platform::keepProcessMemoryPrivate, notDumpable));
    EXPECT_TRUE(holdsInChild([] { allowCoreFiles(); platform::keepProcessMemoryPrivate(); }, noCoreFiles));
}

TEST(ProcessHardening, TheCoreLimitCannotBeRaisedAgainAfterwards) {
    const auto raise = [] {
        rlimit core{RLIM_INFINITY, RLIM_INFINITY};
        // Root could raise a hard limit again; an ordinary process cannot, which is what the hard 0 is for.
        if (::geteuid() == 0) return ::setuid(65534) == 0 && ::setrlimit(RLIMIT_CORE, &core) != 0 && noCoreFiles();
        return ::setrlimit(RLIMIT_CORE, &core) != 0 && noCoreFiles();
    };
    EXPECT_TRUE(holdsInChild(platform::keepProcessMemoryPrivate, raise));
}

}  // namespace
