// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/FolderOperation.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>

#include "tests/crash/Child.h"
#include "tests/crash/Content.h"
#include "tests/crash/FolderInspection.h"
#include "tests/crash/Settings.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/TempDir.h"

namespace crash {
namespace {

using testutil::FolderState;

struct OriginalFile {
    std::string name;
    std::vector<unsigned char> bytes;
    unsigned mode;
    timespec mtime;
};

// A folder as people have them: mostly similar files, a few names with spaces and diacritics, an empty and a
// read-only file, sizes around the average, distinct times to the nanosecond.
// A tree's folders: every other one inside the one before it, so that the tree is two levels deep.
std::vector<std::string> treeFolders(int count) {
    std::vector<std::string> folders;
    for (int k = 0; k < count; ++k) {
        char name[32];
        std::snprintf(name, sizeof name, k % 2 ? "vnořená %02d" : "složka-%02d", k);
        folders.push_back(k % 2 ? folders.back() + "/" + name : std::string(name));
    }
    folders.push_back("prázdná");  // stays empty
    return folders;
}

std::vector<OriginalFile> makeOriginals(int count, std::size_t totalBytes, const std::vector<std::string>& folders) {
    const std::size_t average = std::max<std::size_t>(totalBytes / static_cast<std::size_t>(count), 2 * kRecordSize);
    const char* special[] = {"Zpráva pro vedení.txt", "foto 2023.jpg", "účetnictví.xlsx"};
    std::vector<OriginalFile> files;
    for (int i = 0; i < count; ++i) {
        OriginalFile f;
        char numbered[32];
        std::snprintf(numbered, sizeof numbered, "soubor-%03d.dat", i);
        f.name = i >= 1 && i <= 3 ? special[i - 1] : numbered;
        // The empty folder (the last) gets none; the top keeps some.
        if (folders.size() > 1 && i % static_cast<int>(folders.size()) != 0)
            f.name = folders[static_cast<std::size_t>(i) % (folders.size() - 1)] + "/" + f.name;
        std::size_t size = average / 2 + (static_cast<std::size_t>(i) * 7919u * 4099u) % average;
        if (i == 4) size = 0;
        if (i == 5) size = 1000;
        f.bytes = plaintextFor(100 + static_cast<std::uint32_t>(i), size);
        f.mode = i % 7 == 6 ? 0444 : i % 5 == 0 ? 0600 : 0644;
        f.mtime = {1'600'000'000 + i * 3600, static_cast<long>((static_cast<long long>(i) * 123'456'789) % 1'000'000'000)};
        files.push_back(std::move(f));
    }
    return files;
}

void setTimeAndMode(const std::string& path, unsigned mode, const timespec& mtime) {
    const timespec times[2] = {{0, UTIME_NOW}, mtime};
    if (::chmod(path.c_str(), mode) != 0 || ::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0)
        throw std::runtime_error("cannot set up " + path);
}

void layOriginals(const std::string& folder, const std::vector<OriginalFile>& files, const std::vector<std::string>& folders) {
    for (const std::string& below : folders) std::filesystem::create_directories(folder + "/" + below);
    for (const OriginalFile& f : files) {
        const std::string path = folder + "/" + f.name;
        testutil::writeFile(path, f.bytes);
        setTimeAndMode(path, f.mode, f.mtime);
    }
    // The folders last, the deepest first: a name made in a folder moves its time.
    for (std::size_t k = folders.size(); k-- > 0;)
        setTimeAndMode(folder + "/" + folders[k], k % 3 == 1 ? 0750 : 0755,
                       {1'500'000'000 + static_cast<long>(k) * 86400, static_cast<long>(k) * 1000});
}

void sifrdir(const std::string& folder) {
    testutil::FolderCall call;
    if (const std::string error = call.encrypt(folder, kKey); !error.empty()) throw std::runtime_error(error);
}

void sifrdirTree(const std::string& folder) {
    testutil::FolderCall call;
    if (const std::string error = call.encrypt(folder, kKey, true); !error.empty()) throw std::runtime_error(error);
}

void desifrdir(const std::string& folder) {
    testutil::FolderCall call;
    if (const std::string error = call.decrypt(folder + "/" + kPackageName, kKey); !error.empty())
        throw std::runtime_error(error);
}

struct FolderStep {
    const char* name;
    void (*call)(const std::string& folder);
};
constexpr FolderStep kSifrdir{"sifrdir", sifrdir};
constexpr FolderStep kSifrdirTree{"sifrdir of the tree", sifrdirTree};
constexpr FolderStep kDesifrdir{"desifrdir", desifrdir};

// "missing a, b; changed c; extra d" for the names where `now` is not `expected`.
std::string differences(const FolderState& expected, const FolderState& now) {
    std::vector<std::string> missing, changed, extra;
    for (const auto& [name, state] : expected) {
        const auto it = now.find(name);
        if (it == now.end()) missing.push_back(name);
        else if (!(it->second == state)) changed.push_back(name);
    }
    for (const auto& [name, state] : now)
        if (!expected.count(name)) extra.push_back(name);
    std::string text;
    const auto add = [&](const char* what, const std::vector<std::string>& names) {
        if (names.empty()) return;
        text += (text.empty() ? "" : "; ") + std::string(what) + " ";
        for (std::size_t i = 0; i < names.size() && i < 5; ++i) text += (i ? ", " : "") + names[i];
        if (names.size() > 5) text += " and " + std::to_string(names.size() - 5) + " more";
    };
    add("missing", missing);
    add("changed", changed);
    add("extra", extra);
    return text;
}

class FolderOperation : public Operation {
public:
    FolderOperation(FolderWork work, bool tree)
        : Operation(std::string(work == FolderWork::Pack ? "sifrdir" : "desifrdir") + (tree ? " of a tree" : "")),
          work_(work), tree_(tree), pack_(tree ? kSifrdirTree : kSifrdir) {}

    void prepare() override {
        if (tree_) folders_ = treeFolders(settings().treeFolders);
        originals_ = makeOriginals(tree_ ? settings().treeFiles : settings().folderFiles, settings().fileBytes, folders_);
        testutil::TempDir scratch;
        layOriginals(scratch.path(), originals_, folders_);
        expected_ = snapshotOf(scratch.path());
        if (work_ == FolderWork::Restore) {
            const std::string failure = failureOf("sifrdir", [&] { pack_.call(scratch.path()); });
            if (!failure.empty()) throw std::runtime_error("making the package to restore: " + failure);
            package_ = testutil::readFile(scratch.file(kPackageName));
        }
    }

    void lay(const std::string& folder) const override {
        if (work_ == FolderWork::Pack) layOriginals(folder, originals_, folders_);
        else testutil::writeFile(folder + "/" + kPackageName, package_);
    }

    void run(const std::string& folder) const override {
        if (work_ == FolderWork::Pack) pack_.call(folder);
        else desifrdir(folder);
    }

    std::set<std::string> belonging() const override {
        std::set<std::string> names{kPackageName};
        for (const auto& [name, state] : expected_) names.insert(name);
        return names;
    }

    Judgement judge(const std::string& folder, const std::set<std::string>& leftovers) const override {
        const std::string package = folder + "/" + kPackageName;
        const bool packageThere = std::filesystem::exists(package);
        const bool committed = work_ == FolderWork::Pack ? packageThere : !packageThere;
        std::set<std::string> ignored = leftovers;
        ignored.insert(kPackageName);
        const FolderState now = snapshotOf(folder, ignored);

        Judgement j = whatIsThere(folder, packageThere, now);

        // Every rerun ends with a desifrdir, so that one comparison checks the whole round trip.
        std::vector<FolderStep> rerun;
        if (work_ == FolderWork::Pack) rerun = committed ? std::vector{kDesifrdir} : std::vector{pack_, kDesifrdir};
        else rerun = committed ? std::vector{pack_, kDesifrdir} : std::vector{kDesifrdir};
        for (const FolderStep& step : rerun) {
            j.rerunFailure = failureOf(std::string("the rerun's ") + step.name, [&] { step.call(folder); });
            if (!j.rerunFailure.empty()) break;
        }
        if (j.rerunFailure.empty()) {
            const FolderState after = snapshotOf(folder, leftovers);
            if (after != expected_) j.rerunFailure = "after the rerun the folder differs: " + differences(expected_, after);
        }
        return j;
    }

private:
    testutil::FolderState snapshotOf(const std::string& folder, const std::set<std::string>& ignored = {}) const {
        if (!tree_) return snapshotWithout(folder, ignored);
        FolderState state = testutil::treeSnapshot(folder);
        for (const auto& name : ignored) state.erase(name);
        return state;
    }

    // A folder of the tree gets its permissions and time only when the whole restore is done, and loses
    // its time as its files are removed: in between, only that it is a folder counts.
    static bool unchanged(const testutil::FileState& expected, const testutil::FileState& now) {
        if (S_ISDIR(expected.mode)) return S_ISDIR(now.mode);
        return expected == now;
    }

    // Whether the user's files are whole: the starting point, or the complete result.
    Judgement whatIsThere(const std::string& folder, bool packageThere, const FolderState& now) const {
        Judgement j;
        const auto decide = [&](bool whole, Outcome outcome, std::string otherwise) {
            if (whole) j.outcome = outcome;
            else j.lossNote = std::move(otherwise);
        };
        // Originals that are there (not yet taken into the package, or restored beside it) must be unchanged.
        std::string changed;
        for (const auto& [name, state] : now) {
            const auto expected = expected_.find(name);
            if (expected == expected_.end() || !unchanged(expected->second, state))
                changed += (changed.empty() ? "" : ", ") + name;
        }
        if (!changed.empty()) decide(false, Outcome::Lost, "changed originals: " + changed);
        else if (work_ == FolderWork::Pack && !packageThere)
            decide(now == expected_, Outcome::Original, "no package, and originals missing: " + differences(expected_, now));
        else if (work_ == FolderWork::Pack)
            decide(packageGivesEverythingBack(folder + "/" + kPackageName), Outcome::Complete,
                   "the package does not give every file back");
        else if (packageThere)
            decide(testutil::readFile(folder + "/" + kPackageName) == package_, Outcome::Original,
                   "the package is not the one that was there");
        else
            decide(now == expected_, Outcome::Complete, "no package, and files missing: " + differences(expected_, now));
        return j;
    }

    // Decrypted in a folder of its own, the package must give back exactly the original files.
    bool packageGivesEverythingBack(const std::string& package) const {
        testutil::TempDir scratch;
        std::filesystem::copy_file(package, scratch.file(kPackageName));
        return failureOf("desifrdir", [&] { desifrdir(scratch.path()); }).empty() &&
               snapshotOf(scratch.path(), {kPackageName}) == expected_;
    }

    FolderWork work_;
    bool tree_;
    FolderStep pack_;
    std::vector<std::string> folders_;  // the tree's, parents first
    std::vector<OriginalFile> originals_;
    FolderState expected_;
    std::vector<unsigned char> package_;
};

}  // namespace

std::unique_ptr<Operation> folderOperation(FolderWork work, bool tree) {
    return std::make_unique<FolderOperation>(work, tree);
}

}  // namespace crash
