// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProcessHardening.h"

#include <windows.h>

namespace platform {

void keepProcessMemoryPrivate() {
    // Windows Error Reporting is what writes a crashed process's memory to a dump file; a process may opt out.
    ::SetErrorMode(::GetErrorMode() | SEM_NOGPFAULTERRORBOX);
}

}  // namespace platform
