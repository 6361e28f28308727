// SPDX-License-Identifier: GPL-3.0-or-later
// The sweep over one operation: measure an unkilled run, then kill fresh runs at moments spread from its
// start to its end (one per equal slice, a seeded random point in it, and some more from the moment the
// operation commits to its end, where the short phases lie), and once more at each step the engine names
// (engine/core/TestHooks.h), which no timing hits reliably; judge each folder and count what was found.
#pragma once

#include <string>
#include <vector>

#include "tests/crash/Operation.h"

namespace crash {

// The columns of bench/run_crash_bench.sh's table. Leftover columns count kills that left at least one.
struct Tally {
    int kills = 0;
    int originals = 0;
    int completeResults = 0;
    int plaintextLeftovers = 0;
    int otherLeftovers = 0;
    int sweptTemporaries = 0;  // kills that left a hidden temporary the rerun then removed
    int rerunsBlocked = 0;
    int losses = 0;
    int endedBeforeKill = 0;  // kills that came after the run had ended anyway
    double runMs = 0;         // the measured run the kill times were first spread over
    double commitAt = -1;     // where in that run a name in the folder first changed (0..1), -1 when none did
};

// The checks a kill can fail, in the order they are reported.
enum class Check { OperationFailed, DataLost, ModeChanged, PlaintextLeft, FilesLeft, RerunBlocked };
const char* titleOf(Check check);

struct Problem {
    Check check;
    std::string line;  // operation, kill time, seed, then what was found
};

struct SweepReport {
    Tally tally;
    std::vector<Problem> problems;
};

// `kills` random kills (the run's setting unless given), then one at each named step.
SweepReport sweep(Operation& operation, int kills);
SweepReport sweep(Operation& operation);

// One tab-separated row, appended: name, then the tally's fields in the order above.
void appendRow(const std::string& path, const std::string& name, const Tally& tally);

}  // namespace crash
