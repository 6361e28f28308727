// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/KillSweep.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "tests/crash/Child.h"
#include "tests/crash/FolderInspection.h"
#include "tests/crash/Settings.h"
#include "tests/engine/TempDir.h"

namespace crash {
namespace {

using Seconds = std::chrono::duration<double>;

constexpr int kMeasuredRuns = 3;

std::uint64_t seedFor(const std::string& name) {
    std::uint64_t h = settings().seed ^ 0xcbf29ce484222325ull;
    for (unsigned char c : name) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

struct Measured {
    std::vector<double> runs;             // seconds
    std::vector<double> commitFractions;  // where in a run a name of the folder first changed
};

// A few unkilled runs, each from a fresh starting point, the folder watched for the moment the operation commits
// (a result takes its name, an original goes). A run that fails makes the sweep pointless.
Measured measureRuns(const Operation& op, std::vector<Problem>& problems) {
    Measured measured;
    const std::set<std::string> belonging = op.belonging();
    for (int i = 0; i < kMeasuredRuns; ++i) {
        testutil::TempDir dir;
        op.lay(dir.path());
        const ChildEnd end = runToEnd([&] { op.run(dir.path()); }, dir.path());
        if (end.how != ChildEnd::Finished) {
            problems.push_back({Check::OperationFailed, op.name() + ", unkilled run: " + end.message});
            return {};
        }
        measured.runs.push_back(end.took.count());
        for (const FolderEvent& event : end.folderEvents) {
            if (!belonging.count(event.name)) continue;
            measured.commitFractions.push_back(std::min(1.0, event.at / end.took));
            break;
        }
    }
    return measured;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string killLabel(const Operation& op, int k, int kills, Seconds delay, Seconds run) {
    char text[200];
    std::snprintf(text, sizeof text, "%s, kill %d/%d at %.1f ms (%.0f %% of a %.1f ms run), MIVEX_CRASH_SEED=%llu: ",
                  op.name().c_str(), k + 1, kills, delay.count() * 1e3, 100 * delay.count() / run.count(),
                  run.count() * 1e3, static_cast<unsigned long long>(settings().seed));
    return text;
}

// When to kill, as fractions of the run: one kill at a random point of each of equal slices of the whole run,
// and a third of the kills again from just before the commit seen in the measured runs (else over the last
// 15 %) to the end, where the short phases lie (renames, the folder's fsync, removals, what follows) that an
// even spread alone would rarely hit.
std::vector<double> killMoments(int kills, std::uint64_t seed, double lateFrom) {
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> jitter(0.0, 1.0);
    const int late = kills >= 3 ? kills / 3 : 0;
    const int overAll = kills - late;
    std::vector<double> moments;
    for (int k = 0; k < overAll; ++k) moments.push_back((k + jitter(random)) / overAll);
    for (int k = 0; k < late; ++k) moments.push_back(lateFrom + (1 - lateFrom) * (k + jitter(random)) / late);
    return moments;
}

// The leftovers with or without plaintext, the first few by name: a folder restore can leave hundreds.
std::string listOf(const std::vector<Leftover>& leftovers, bool plaintext) {
    constexpr int kNamed = 4;
    std::string text;
    int count = 0;
    for (const Leftover& l : leftovers) {
        if (l.plaintext != plaintext) continue;
        if (++count <= kNamed) text += (text.empty() ? "" : ", ") + describe(l);
    }
    if (count > kNamed) text += " and " + std::to_string(count - kNamed) + " more";
    return text;
}

}  // namespace

const char* titleOf(Check check) {
    switch (check) {
        case Check::OperationFailed: return "the operation failed or crashed by itself";
        case Check::DataLost: return "neither the original nor the complete result was there";
        case Check::ModeChanged: return "a file had other permissions than it must have";
        case Check::PlaintextLeft: return "a leftover file held plaintext";
        case Check::FilesLeft: return "files were left behind";
        case Check::RerunBlocked: return "the rerun did not finish the work";
    }
    return "?";
}

SweepReport sweep(Operation& op, int killCount) {
    SweepReport report;
    Tally& t = report.tally;
    op.prepare();
    Measured measured = measureRuns(op, report.problems);
    if (!report.problems.empty()) return report;
    t.runMs = median(measured.runs) * 1e3;
    if (!measured.commitFractions.empty()) t.commitAt = median(measured.commitFractions);
    const double lateFrom = t.commitAt < 0 ? 0.85 : std::max(0.0, t.commitAt - 0.05);

    const auto judgeKill = [&](const std::string& folder, const ChildEnd& end, const std::string& label) {
        const auto found = [&](Check check, const std::string& what) { report.problems.push_back({check, label + what}); };
        if (end.how == ChildEnd::Failed) found(Check::OperationFailed, "failed on its own: \"" + end.message + "\"");
        if (end.how == ChildEnd::Crashed) found(Check::OperationFailed, end.message);

        std::vector<Leftover> leftovers = leftoversIn(folder, op.belonging());
        std::vector<Leftover> sweepable;
        std::erase_if(leftovers, [&](const Leftover& l) {
            if (l.sweepable) sweepable.push_back(l);
            return l.sweepable;
        });
        const std::string plaintext = listOf(leftovers, true), other = listOf(leftovers, false);
        if (!plaintext.empty()) found(Check::PlaintextLeft, plaintext);
        if (!other.empty()) found(Check::FilesLeft, other);

        std::set<std::string> tolerated = namesOf(leftovers);
        for (const Leftover& l : sweepable) tolerated.insert(l.name);
        const Judgement j = op.judge(folder, tolerated);
        for (const Leftover& l : sweepable)
            if (std::filesystem::exists(folder + "/" + l.name))
                found(Check::FilesLeft, "the rerun did not remove the hidden temporary " + describe(l));
        if (j.outcome == Outcome::Lost) found(Check::DataLost, j.lossNote);
        if (!j.modeNote.empty()) found(Check::ModeChanged, j.modeNote);
        if (!j.rerunFailure.empty()) found(Check::RerunBlocked, j.rerunFailure);
        ++t.kills;
        t.originals += j.outcome == Outcome::Original;
        t.completeResults += j.outcome == Outcome::Complete;
        t.losses += j.outcome == Outcome::Lost;
        t.plaintextLeftovers += !plaintext.empty();
        t.otherLeftovers += !other.empty();
        t.sweptTemporaries += !sweepable.empty();
        t.rerunsBlocked += !j.rerunFailure.empty();
    };

    const std::vector<double> moments = killMoments(killCount, seedFor(op.name()), lateFrom);
    const int kills = static_cast<int>(moments.size());
    for (int k = 0; k < kills; ++k) {
        // Runs that end before their kill join the measured ones: on a busy machine the first few can be slow.
        const Seconds run{median(measured.runs)};
        const Seconds delay = run * moments[k];
        testutil::TempDir dir;
        op.lay(dir.path());
        const ChildEnd end = runKilledAfter([&] { op.run(dir.path()); }, delay);
        if (end.how == ChildEnd::Finished) {
            ++t.endedBeforeKill;
            measured.runs.push_back(end.took.count());
        }
        judgeKill(dir.path(), end, killLabel(op, k, kills, delay, run));
    }
    // The named steps: a moment the operation does not have lets it run to its end, which is judged the same.
    for (const engine::core::Moment moment : engine::core::kAllMoments) {
        testutil::TempDir dir;
        op.lay(dir.path());
        const ChildEnd end = runKilledAt([&] { op.run(dir.path()); }, moment);
        t.endedBeforeKill += end.how == ChildEnd::Finished;
        judgeKill(dir.path(), end, op.name() + ", killed at " + engine::core::nameOf(moment) + ": ");
    }
    return report;
}

SweepReport sweep(Operation& op) { return sweep(op, settings().kills); }

void appendRow(const std::string& path, const std::string& name, const Tally& t) {
    std::ofstream out(path, std::ios::app);
    out << name << '\t' << t.kills << '\t' << t.originals << '\t' << t.completeResults << '\t' << t.plaintextLeftovers
        << '\t' << t.otherLeftovers << '\t' << t.sweptTemporaries << '\t' << t.rerunsBlocked << '\t' << t.losses << '\t' << t.endedBeforeKill << '\t'
        << static_cast<long>(t.runMs + 0.5) << '\n';
}

}  // namespace crash
