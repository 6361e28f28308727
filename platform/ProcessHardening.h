// SPDX-License-Identifier: GPL-3.0-or-later
// What the program does to its own process before anything else runs: a crash must not write the keys and
// passwords it holds to a core file, and another process of the same user must not read them out of it.
#pragma once

namespace platform {

// No core dumps (soft and hard limit 0) and, where the system has the notion, not dumpable: no core file,
// no debugger attach by an ordinary process of the same user, /proc/<pid>/mem closed to it. Best effort: a
// step the system refuses is left out, the program starts all the same.
void keepProcessMemoryPrivate();

}  // namespace platform
