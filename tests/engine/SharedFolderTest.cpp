// SPDX-License-Identifier: GPL-3.0-or-later
// Operations in a folder that another local user may change meanwhile: he renames the user's folder away and
// puts a link to a folder of his own in its place, or plants a file under a name a restore will use. Nothing
// may end up in his folder, nothing of his may be taken for the user's, and the user is told. Where the tests
// run as root the other user is a real one (uid 65534); otherwise the same steps run in this process, which
// the engine cannot tell apart.
#include <grp.h>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "engine/VQ203.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"
#include "engine/vq202/Messages.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/Refusal.h"
#include "tests/engine/TempDir.h"

namespace {

using engine::core::Moment;
using testutil::readFile;
using testutil::TempDir;
using testutil::writeFile;
using Bytes = std::vector<unsigned char>;

constexpr uid_t kOtherUser = 65534;
const std::string kKey = "klíč sdílené složky";

bool twoUsers() { return ::geteuid() == 0; }

mode_t currentUmask() {
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// Runs `work` as the other user (in a child that takes his uid and gid) where the tests run as root.
void asOtherUser(const std::function<void()>& work) {
    if (!twoUsers()) return work();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kOtherUser, kOtherUser, kOtherUser) != 0 ||
            ::setresuid(kOtherUser, kOtherUser, kOtherUser) != 0)
            ::_exit(2);
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other user's step failed";
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// A parent folder everyone may write (not sticky, as a group's shared folder often is), the user's folder in
// it, and the names the other user's swap uses.
class SharedParent : public ::testing::Test {
protected:
    void SetUp() override {
        engine::core::setScryptCostForTesting(10);
        ::chmod(parent_.path().c_str(), 0777);
        std::filesystem::create_directory(folder);
    }
    void TearDown() override { engine::core::setMomentHookForTesting({}); }

    // At the first `moment`, the other user moves the folder aside and puts a link to his own folder in its
    // place, with a link of the file's name to the user's real file, where the user would look for it.
    void swapFolderAt(Moment moment, const std::string& fileName) {
        engine::core::setMomentHookForTesting([this, moment, fileName](Moment reached) {
            if (reached != moment || swapped) return;
            swapped = true;
            asOtherUser([&] {
                std::filesystem::rename(folder, moved);
                std::filesystem::create_directory(attackers);
                std::filesystem::create_symlink(moved + "/" + fileName, attackers + "/" + fileName);
                std::filesystem::create_symlink(attackers, folder);
            });
        });
    }

    // The user's folder after the swap holds exactly `expected`, and the other user's only his link.
    void expectNothingMovedTo(const std::string& fileName, const std::vector<std::string>& expected) {
        ASSERT_TRUE(swapped) << "the operation never reached the moment of the swap";
        EXPECT_EQ(namesIn(moved), expected);
        EXPECT_EQ(namesIn(attackers), std::vector<std::string>{fileName}) << "something was written to his folder";
        EXPECT_TRUE(std::filesystem::is_symlink(attackers + "/" + fileName));
    }

    TempDir parent_;
    const std::string folder = parent_.file("sdílená");
    const std::string moved = parent_.file("odsunutá");
    const std::string attackers = parent_.file("cizí");
    bool swapped = false;
};

// --- single files --------------------------------------------------------------------------------------------

struct SingleFileCall {
    const char* name;
    bool startsEncrypted;
    void (*call)(const std::string& path);
};

void run(void (*op)(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&),
         const std::string& path) {
    testutil::FakeBar bar;
    testutil::FakeWindow window;
    op(path, kKey, bar, window);
}

const SingleFileCall kSingleFileCalls[] = {
    {"sifrovat", false, [](const std::string& p) { run(VQ203::sifrovat, p); }},
    {"fastsifrovat", false, [](const std::string& p) { run(VQ203::fastsifrovat, p); }},
    {"desifrovat", true, [](const std::string& p) { run(VQ203::desifrovat, p); }},
    {"fastdesifrovat", true, [](const std::string& p) { run(VQ203::fastdesifrovat, p); }},
    {"priznak_pridat_sifrovat", false,
     [](const std::string& p) {
         testutil::FakeBar bar;
         VQ203::priznak_pridat("otisk", p, bar);
         run(VQ203::sifrovat, p);
     }},
    {"sifrovat0", false,
     [](const std::string& p) {
         testutil::FakeBar bar;
         testutil::FakeWindow window;
         VQ203::sifrovat0(p, bar, window);
     }},
};

struct SwapCase {
    SingleFileCall op;
    Moment moment;
};

class SingleFileInSharedFolder : public SharedParent, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(SingleFileInSharedFolder, FolderSwappedForALinkIsRefusedAndNothingIsWrittenElsewhere) {
    const SwapCase& c = GetParam();
    const std::string path = folder + "/zpráva.txt";
    writeFile(path, testutil::randomBytes(100'000, 5));
    if (c.op.startsEncrypted) run(VQ203::sifrovat, path);
    const Bytes before = readFile(path);

    swapFolderAt(c.moment, "zpráva.txt");
    try {
        c.op.call(path);
        ADD_FAILURE() << "the operation reported success";
    } catch (const engine::Error& error) {
        EXPECT_STREQ(error.what(), engine::msg::kFolderMovedMeanwhile);
    }
    expectNothingMovedTo("zpráva.txt", {"zpráva.txt"});
    EXPECT_EQ(readFile(moved + "/zpráva.txt"), before) << "the user's file changed";
}

// A folder the other user may write himself (a group's folder): he swaps the file for a link to his own.
TEST_P(SingleFileInSharedFolder, FileSwappedForALinkIsRefusedAndTheLinksTargetStaysAsItWas) {
    const SwapCase& c = GetParam();
    ::chmod(folder.c_str(), 0777);
    const std::string path = folder + "/zpráva.txt";
    writeFile(path, testutil::randomBytes(100'000, 6));
    if (c.op.startsEncrypted) run(VQ203::sifrovat, path);
    const Bytes before = readFile(path);
    const std::string his = parent_.file("jeho.txt");
    asOtherUser([&] { writeFile(his, before); });

    engine::core::setMomentHookForTesting([&](Moment reached) {
        if (reached != c.moment || swapped) return;
        swapped = true;
        asOtherUser([&] {
            std::filesystem::rename(path, folder + "/odsunutá.txt");
            std::filesystem::create_symlink(his, path);
        });
    });
    try {
        c.op.call(path);
        ADD_FAILURE() << "the operation reported success";
    } catch (const engine::Error& error) {
        EXPECT_STREQ(error.what(), engine::msg::kChangedMeanwhile);
    }
    ASSERT_TRUE(swapped);
    EXPECT_EQ(readFile(folder + "/odsunutá.txt"), before);
    EXPECT_EQ(readFile(his), before) << "the file behind his link was written";
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_FALSE(testutil::hasTemporaryFiles(folder));
}

std::string swapCaseName(const ::testing::TestParamInfo<SwapCase>& info) {
    return std::string(info.param.op.name) + "_" + engine::core::nameOf(info.param.moment);
}

std::vector<SwapCase> swapCases() {
    std::vector<SwapCase> cases;
    for (const SingleFileCall& op : kSingleFileCalls) {
        cases.push_back({op, Moment::FolderOpened});
        // The one-way overwrite names nothing: once the file is open, only its descriptor is used.
        if (std::string(op.name) != "sifrovat0") cases.push_back({op, Moment::ResultWritten});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Calls, SingleFileInSharedFolder, ::testing::ValuesIn(swapCases()), swapCaseName);

// --- folder restore ------------------------------------------------------------------------------------------

class RestoreInSharedFolder : public SharedParent, public ::testing::WithParamInterface<Moment> {};

TEST_P(RestoreInSharedFolder, FolderSwappedForALinkIsRefusedAndNothingIsRestoredElsewhere) {
    writeFile(folder + "/plán.txt", testutil::randomBytes(5000, 1));
    writeFile(folder + "/rozpočet.xlsx", testutil::randomBytes(7000, 2));
    ASSERT_EQ(testutil::encryptFolder(folder, kKey), "");
    const std::string package = folder + "/directory.cff";
    const Bytes before = readFile(package);

    swapFolderAt(GetParam(), "directory.cff");
    EXPECT_EQ(testutil::decryptPackage(package, kKey), VQ202::msg::kFolderMovedMeanwhile);
    expectNothingMovedTo("directory.cff", {"directory.cff"});
    EXPECT_EQ(readFile(moved + "/directory.cff"), before);
}

INSTANTIATE_TEST_SUITE_P(Moments, RestoreInSharedFolder, ::testing::Values(Moment::FolderOpened, Moment::FilesNamed),
                         [](const auto& moment) { return std::string(engine::core::nameOf(moment.param)); });

// --- files already in the folder ------------------------------------------------------------------------------

class RestoreBesideExistingFiles : public ::testing::Test {
protected:
    void SetUp() override { engine::core::setScryptCostForTesting(10); }

    // A package of `name` with `content` and mode 0644, in `folder`, the original removed by the packing.
    static std::string packageOf(const std::string& folder, const std::string& name, const Bytes& content) {
        writeFile(folder + "/" + name, content);
        ::chmod((folder + "/" + name).c_str(), 0644);
        EXPECT_EQ(testutil::encryptFolder(folder, kKey), "");
        return folder + "/directory.cff";
    }
};

// In a folder everyone may write (sticky, as /tmp), another user's file with exactly the package's bytes is
// his: taken for restored, it would stay his to change under the user's name later.
TEST_F(RestoreBesideExistingFiles, AnotherUsersIdenticalFileInAStickyFolderIsInTheWay) {
    if (!twoUsers()) GTEST_SKIP() << "needs root to act as a second user";
    TempDir dir;
    ::chmod(dir.path().c_str(), 01777);
    const Bytes script = {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'};
    const std::string package = packageOf(dir.path(), "deploy.sh", script);
    const Bytes packageBefore = readFile(package);
    asOtherUser([&] { writeFile(dir.file("deploy.sh"), script); });

    const std::string error = testutil::decryptPackage(package, kKey);
    EXPECT_EQ(error, std::string(VQ202::msg::kFilesInTheWay) + "deploy.sh");
    EXPECT_EQ(readFile(package), packageBefore) << "the package must stay: it holds the user's only copy";
    struct stat planted {};
    ASSERT_EQ(::lstat(dir.file("deploy.sh").c_str(), &planted), 0);
    EXPECT_EQ(planted.st_uid, kOtherUser);
}

TEST_F(RestoreBesideExistingFiles, OwnIdenticalFileWithAnotherNameIsInTheWay) {
    TempDir dir;
    const Bytes content = testutil::randomBytes(3000, 9);
    const std::string package = packageOf(dir.path(), "a.txt", content);
    writeFile(dir.file("a.txt"), content);
    ASSERT_EQ(::link(dir.file("a.txt").c_str(), dir.file("druhé jméno").c_str()), 0);
    EXPECT_EQ(testutil::decryptPackage(package, kKey), std::string(VQ202::msg::kFilesInTheWay) + "a.txt");
    EXPECT_TRUE(std::filesystem::exists(package));
}

// An interrupted restore of ours may have left a file before its permissions and time were final (or the
// user changed them): taken as restored, it gets the package's.
TEST_F(RestoreBesideExistingFiles, OwnIdenticalFileIsTakenAndGetsThePackagesModeAndTime) {
    TempDir dir;
    const Bytes content = testutil::randomBytes(3000, 10);
    writeFile(dir.file("a.txt"), content);
    ::chmod(dir.file("a.txt").c_str(), 0644);
    const timespec packed[2] = {{0, UTIME_NOW}, {1'500'000'000, 123}};
    ::utimensat(AT_FDCWD, dir.file("a.txt").c_str(), packed, 0);
    ASSERT_EQ(testutil::encryptFolder(dir.path(), kKey), "");
    const std::string package = dir.file("directory.cff");
    writeFile(dir.file("a.txt"), content);
    ::chmod(dir.file("a.txt").c_str(), 0600);
    EXPECT_EQ(testutil::decryptPackage(package, kKey), "");
    EXPECT_FALSE(std::filesystem::exists(package));
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u & ~currentUmask());
    EXPECT_EQ(info.st_mtim.tv_sec, 1'500'000'000);
    EXPECT_EQ(info.st_mtim.tv_nsec, 123);
}

// A restore that is refused changes nothing, not even the permissions of a copy it would have taken.
TEST_F(RestoreBesideExistingFiles, RefusedRestoreLeavesAnIdenticalCopyAsItWas) {
    TempDir dir;
    const Bytes content = testutil::randomBytes(3000, 11);
    writeFile(dir.file("b.txt"), {1, 2, 3});
    const std::string package = packageOf(dir.path(), "a.txt", content);
    writeFile(dir.file("a.txt"), content);
    ::chmod(dir.file("a.txt").c_str(), 0600);
    writeFile(dir.file("b.txt"), {4, 5, 6});
    EXPECT_EQ(testutil::decryptPackage(package, kKey), std::string(VQ202::msg::kFilesInTheWay) + "b.txt");
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(RestoreBesideExistingFiles, PermissionsAreMaskedByTheUmaskAsForAnyNewFile) {
    TempDir dir;
    writeFile(dir.file("skript.sh"), {'x'});
    ::chmod(dir.file("skript.sh").c_str(), 0777);
    writeFile(dir.file("text.txt"), {'y'});
    ::chmod(dir.file("text.txt").c_str(), 0664);
    ASSERT_EQ(testutil::encryptFolder(dir.path(), kKey), "");
    const mode_t previous = ::umask(077);
    const std::string error = testutil::decryptPackage(dir.file("directory.cff"), kKey);
    ::umask(previous);
    EXPECT_EQ(error, "");
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("skript.sh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    ASSERT_EQ(::stat(dir.file("text.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

}  // namespace
