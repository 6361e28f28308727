// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProcessHardening.h"

#include <sys/prctl.h>
#include <sys/resource.h>

namespace platform {

void keepProcessMemoryPrivate() {
    // The hard limit too: otherwise any later code (or a library) could raise the soft one again.
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
    // Also covers what RLIMIT_CORE misses: a core_pattern that pipes to a crash collector ignores the limit.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

}  // namespace platform
