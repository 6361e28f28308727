// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/FolderInspection.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "engine/core/EntryNames.h"
#include "tests/crash/Content.h"
#include "tests/engine/TempDir.h"

namespace crash {

std::vector<Leftover> leftoversIn(const std::string& folder, const std::set<std::string>& belonging) {
    std::vector<Leftover> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename();
        if (belonging.count(name)) continue;
        Leftover leftover{name};
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            leftover.size = static_cast<std::uint64_t>(info.st_size);
            leftover.plaintext = holdsPlaintext(testutil::readFile(entry.path()));
            // Any temporary of ours a kill left must go with the rerun, whatever mode it had reached.
            leftover.sweepable = engine::core::isTemporaryName(name);
        }
        found.push_back(std::move(leftover));
    }
    return found;
}

std::set<std::string> namesOf(const std::vector<Leftover>& leftovers) {
    std::set<std::string> names;
    for (const auto& leftover : leftovers) names.insert(leftover.name);
    return names;
}

testutil::FolderState snapshotWithout(const std::string& folder, const std::set<std::string>& ignored) {
    testutil::FolderState state = testutil::snapshot(folder);
    for (const auto& name : ignored) state.erase(name);
    return state;
}

std::string strangersIn(const std::string& folder, const std::set<std::string>& allowed) {
    std::string names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename();
        if (!allowed.count(name)) names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

std::string leftByRerun(const std::string& folder, const std::string& file, const std::set<std::string>& leftovers) {
    std::set<std::string> allowed = leftovers;
    allowed.insert(file);
    const std::string extra = strangersIn(folder, allowed);
    return extra.empty() ? "" : "the rerun left " + extra;
}

std::string describe(const Leftover& leftover) {
    char size[32];
    std::snprintf(size, sizeof size, "%.1f MiB", static_cast<double>(leftover.size) / (1u << 20));
    return leftover.name + " (" + size + ")";
}

}  // namespace crash
