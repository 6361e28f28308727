// SPDX-License-Identifier: GPL-3.0-or-later
// Kills each engine operation at moments spread over its run (key derivation, writing, fsync, rename,
// removal) and checks what the user finds afterwards: the data whole (the original or the complete result),
// no plaintext in a leftover file, no leftover at all, and a rerun that finishes the work.
// Short here; bench/run_crash_bench.sh runs the same with many more kills and bigger files (Settings.h).
//
// Where the parts are: KillSweep (measure a run, kill at spread moments, count), Child (fork, kill, report),
// Operations (the table of operations) over SingleFileOperation, OneWayOperation and FolderOperation (what
// each lays out and how it judges a kill), Steps (the engine calls as the window makes them),
// FolderInspection and Content (leftovers, and the plaintext records that give them away).
#include <gtest/gtest.h>

#include <iostream>

#include "tests/crash/KillSweep.h"
#include "tests/crash/Operations.h"
#include "tests/crash/Settings.h"

namespace crash {
namespace {

constexpr std::size_t kShownKills = 5;  // per failed check; the count says how many more

// One failure per check that failed, naming the first few kills with their times and the seed.
void reportByCheck(const Operation& operation, const SweepReport& report) {
    for (const Check check : {Check::OperationFailed, Check::DataLost, Check::ModeChanged, Check::PlaintextLeft,
                              Check::FilesLeft, Check::RerunBlocked}) {
        std::vector<std::string> lines;
        for (const Problem& problem : report.problems)
            if (problem.check == check) lines.push_back(problem.line);
        if (lines.empty()) continue;
        std::string text = operation.name() + ": " + titleOf(check) +
                           (report.tally.kills == 0 ? std::string(" before any kill")
                                                    : " after " + std::to_string(lines.size()) + " of " +
                                                          std::to_string(report.tally.kills) + " kills");
        for (std::size_t i = 0; i < lines.size() && i < kShownKills; ++i) text += "\n  " + lines[i];
        if (lines.size() > kShownKills) text += "\n  and " + std::to_string(lines.size() - kShownKills) + " more";
        ADD_FAILURE() << text;
    }
}

class KilledOperation : public ::testing::TestWithParam<std::string> {};

TEST_P(KilledOperation, LeavesTheDataWholeNoLeftoversAndARerunThatFinishes) {
    const auto operation = makeOperation(GetParam());
    const SweepReport report = sweep(*operation);
    const Tally& t = report.tally;
    std::cout << "[ crash    ] " << operation->name() << ": " << t.kills << " kills over a " << static_cast<long>(t.runMs)
              << " ms run (commit at " << (t.commitAt < 0 ? std::string("none") : std::to_string(static_cast<int>(100 * t.commitAt)) + " %")
              << ", " << t.endedBeforeKill << " kills after its end): " << t.originals << " original, "
              << t.completeResults << " complete, " << t.losses << " lost, " << t.plaintextLeftovers
              << " with plaintext left, " << t.otherLeftovers << " with other files left, " << t.rerunsBlocked
              << " reruns blocked (MIVEX_CRASH_SEED=" << settings().seed << ")\n";
    if (!settings().tablePath.empty()) appendRow(settings().tablePath, operation->name(), t);

    reportByCheck(*operation, report);
}

std::string idName(const ::testing::TestParamInfo<std::string>& info) { return info.param; }

INSTANTIATE_TEST_SUITE_P(SingleFiles, KilledOperation, ::testing::ValuesIn(singleFileIds()), idName);
INSTANTIATE_TEST_SUITE_P(Folders, KilledOperation, ::testing::ValuesIn(folderIds()), idName);
INSTANTIATE_TEST_SUITE_P(WindowHandlers, KilledOperation, ::testing::ValuesIn(handlerIds()), idName);

}  // namespace
}  // namespace crash
