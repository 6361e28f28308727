// SPDX-License-Identifier: GPL-3.0-or-later
// Packages of a whole tree: what sifrdir takes from the folders below and desifrdir gives back (bytes,
// permissions and times of files and folders), what stays out, and tree packages that must be refused
// without anything being made, inside the folder or outside it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "engine/core/Magic.h"
#include "engine/core/TestHooks.h"
#include "engine/vq202/Messages.h"
#include "engine/vq202/PackageIndex.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/PackageWriter.h"
#include "tests/engine/TempDir.h"

using namespace testutil;
namespace fs = std::filesystem;
namespace msg = VQ202::msg;
using VQ202::detail::Entry;

namespace {

const std::string kKey = "klíč stromu";

void setTime(const std::string& path, long long seconds, long nanoseconds) {
    const struct timespec times[2] = {{0, UTIME_OMIT}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

class Tree : public ::testing::Test {
protected:
    void SetUp() override { engine::core::setScryptCostForTesting(10); }
    std::string package() const { return dir.file("directory.cff"); }
    void file(const std::string& path, std::size_t size, std::uint32_t seed) {
        fs::create_directories(fs::path(dir.file(path)).parent_path());
        writeFile(dir.file(path), randomBytes(size, seed));
    }
    void folder(const std::string& path) { fs::create_directories(dir.file(path)); }
    TempDir dir;
    TempDir outside;  // where a hostile package would like to write
};

}  // namespace

TEST_F(Tree, NestedAndEmptyFoldersWithOddNamesModesAndTimesComeBackExactly) {
    file("nahoře.txt", 1000, 1);
    folder("Dokumenty/Účty 2024/prázdná");
    folder("prázdná nahoře");
    file("Dokumenty/Žluťoučký kůň.odt", 70000, 2);
    file("Dokumenty/Účty 2024/ leden .pdf", 0, 3);
    file("Dokumenty/Účty 2024/-začíná pomlčkou", 3 * 65536 + 5, 4);
    folder("a/b/c/d/e");
    file("a/b/c/d/e/hluboko", 10, 5);
    ::chmod(dir.file("Dokumenty/Žluťoučký kůň.odt").c_str(), 0444);
    ::chmod(dir.file("a/b/c/d/e/hluboko").c_str(), 0751);
    ::chmod(dir.file("Dokumenty/Účty 2024").c_str(), 0750);
    ::chmod(dir.file("prázdná nahoře").c_str(), 0711);
    // Times last, the deepest first: every name made in a folder moves its time.
    setTime(dir.file("a/b/c/d/e/hluboko"), 1'000'000'000, 1);
    setTime(dir.file("a/b/c/d/e"), 1'100'000'000, 123'456'789);
    setTime(dir.file("Dokumenty/Účty 2024/prázdná"), 1'200'000'000, 0);
    setTime(dir.file("Dokumenty/Účty 2024"), 1'300'000'000, 999'999'999);
    setTime(dir.file("Dokumenty"), 1'400'000'000, 5);
    const FolderState before = treeSnapshot(dir.path());

    ASSERT_EQ(encryptTree(dir.path(), kKey), "");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"directory.cff"});
    const auto sealed = readFile(package());
    ASSERT_GE(sealed.size(), 8u);
    EXPECT_EQ(sealed[7], engine::core::kMagicPackageTree[7]);

    ASSERT_EQ(decryptPackage(package(), kKey), "");
    EXPECT_EQ(treeSnapshot(dir.path()), before);
}

// "Ne": the files at the top alone, in the version every earlier reader restores; the folders stay as they were.
TEST_F(Tree, TheTopAloneKeepsTheEarlierVersionAndLeavesTheFoldersBelow) {
    file("nahoře.txt", 100, 1);
    file("podsložka/dole.txt", 100, 2);
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
    EXPECT_EQ(readFile(package())[7], engine::core::kMagicPackage[7]);
    EXPECT_TRUE(fs::exists(dir.file("podsložka/dole.txt")));
    EXPECT_FALSE(fs::exists(dir.file("nahoře.txt")));
}

TEST_F(Tree, LinksSpecialAndHiddenEntriesStayOutUntouchedWithTheFoldersThatHoldThem) {
    file("a/soubor", 100, 1);
    file("a/.skrytý", 10, 2);
    file("b/soubor", 100, 3);
    file("c/d/soubor", 100, 4);
    writeFile(outside.file("cíl"), randomBytes(5, 5));
    fs::create_symlink(outside.file("cíl"), dir.file("b/odkaz"));
    fs::create_directory_symlink(outside.path(), dir.file("c/odkaz na složku"));
    ASSERT_EQ(::mkfifo(dir.file("c/d/roura").c_str(), 0600), 0);
    folder(".skrytá/uvnitř");
    const FolderState before = treeSnapshot(dir.path());
    const FolderState outsideBefore = treeSnapshot(outside.path());

    ASSERT_EQ(encryptTree(dir.path(), kKey), "");
    FolderState after = treeSnapshot(dir.path());
    std::vector<std::string> left;
    for (const auto& [path, state] : after) left.push_back(path);
    EXPECT_EQ(left, (std::vector<std::string>{".skrytá", ".skrytá/uvnitř", "a", "a/.skrytý", "b", "b/odkaz", "c",
                                              "c/d", "c/d/roura", "c/odkaz na složku", "directory.cff"}));
    // Folders that keep something left out stay, with their other files gone: restored into them.
    ASSERT_EQ(decryptPackage(package(), kKey), "");
    after = treeSnapshot(dir.path());
    for (const char* path : {"a/soubor", "b/soubor", "c/d/soubor", "b/odkaz", "c/d/roura", "a/.skrytý"})
        EXPECT_EQ(after[path], before.at(path)) << path;
    EXPECT_EQ(treeSnapshot(outside.path()), outsideBefore);
}

TEST_F(Tree, PathsThatWouldLeaveTheFolderOrCannotBeGivenAreRefusedBeforeAnythingIsMade) {
    const auto f = [](std::string path) { return Entry{std::move(path), 1, 1'600'000'000, 0, 0640, false}; };
    const auto d = [](std::string path) { return Entry{std::move(path), 0, 1'600'000'000, 0, 0750, true}; };
    const std::string outsideName = fs::relative(outside.file("ven"), dir.path());  // "../tmp.../ven"
    const std::vector<std::pair<std::vector<Entry>, std::string>> cases = {
        {{f(outsideName)}, msg::kHostileName},
        {{d(".."), f("../ven")}, msg::kHostileName},
        {{f(outside.file("ven"))}, msg::kHostileName},  // absolute
        {{d("a"), f("a//b")}, msg::kHostileName},
        {{d("a"), f("a/")}, msg::kHostileName},
        {{d("a"), f("a/./b")}, msg::kHostileName},
        {{f("bez složky/b")}, msg::kHostileName},          // its folder is no entry before it
        {{f("a/b"), d("a")}, msg::kHostileName},           // nor one after it
        {{f("a"), f("a/b")}, msg::kHostileName},           // a file is no folder
        {{d("a"), d("a")}, msg::kHostileName},
        {{d("a\\..")}, msg::kHostileName},
        {{d("a"), f("a/.mvxtmp-AbC123")}, std::string(msg::kUnrestorableNames) + "a/.mvxtmp-AbC123"},
        {{d("ř\nádek"), f("ř\nádek/b")}, std::string(msg::kUnrestorableNames) + "ř␊ádek, ř␊ádek/b"},
    };
    for (const auto& [index, message] : cases) {
        SCOPED_TRACE(index.back().name);
        std::vector<std::vector<unsigned char>> contents;
        for (const Entry& entry : index)
            if (!entry.folder) contents.push_back({'x'});
        writeTreePackage(package(), index, contents, kKey);
        EXPECT_EQ(decryptPackage(package(), kKey), message);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"directory.cff"});
        EXPECT_TRUE(outside.entries().empty());
    }
}

// A link in the place of one of the tree's folders would carry the restore elsewhere: it is in the way.
TEST_F(Tree, ALinkWhereAFolderOfThePackageGoesIsInTheWay) {
    file("a/b/soubor", 100, 1);
    ASSERT_EQ(encryptTree(dir.path(), kKey), "");
    fs::create_directory_symlink(outside.path(), dir.file("a"));
    EXPECT_EQ(decryptPackage(package(), kKey), std::string(msg::kFilesInTheWay) + "a");
    EXPECT_TRUE(outside.entries().empty());
    EXPECT_TRUE(fs::is_symlink(dir.file("a")));
}

// A package that fails after its folders were made takes them back with its files.
TEST_F(Tree, AFailureLateInTheRestoreLeavesNoFolderBehind) {
    folder("x/prázdná");
    file("x/y/velký", 3 * 65536, 1);
    file("z/malý", 10, 2);
    ASSERT_EQ(encryptTree(dir.path(), kKey), "");
    auto sealed = readFile(package());
    sealed[sealed.size() - 5] ^= 1;  // the last chunk: everything before it was restored already
    writeFile(package(), sealed);
    EXPECT_EQ(decryptPackage(package(), kKey), msg::kDamaged);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"directory.cff"});
}

// An earlier, interrupted restore left the folders (made, mode 0700) and some files: a rerun finishes it.
TEST_F(Tree, ARerunOverWhatAnInterruptedRestoreLeftFinishesIt) {
    file("x/y/a", 100, 1);
    file("x/b", 200, 2);
    ::chmod(dir.file("x").c_str(), 0755);
    setTime(dir.file("x"), 1'500'000'000, 7);
    const FolderState before = treeSnapshot(dir.path());
    ASSERT_EQ(encryptTree(dir.path(), kKey), "");
    folder("x/y");
    ::chmod(dir.file("x").c_str(), 0700);
    writeFile(dir.file("x/y/a"), randomBytes(100, 1));
    ASSERT_EQ(decryptPackage(package(), kKey), "");
    EXPECT_EQ(treeSnapshot(dir.path()), before);
}

// A tree of more folders than half the descriptors the process may hold: the restore lets folders go and
// opens them again, so it still restores everything, and a damage found at the end still takes back every
// name and every folder it made. Run in a child: the descriptor limit is the whole process's.
TEST_F(Tree, MoreFoldersThanHalfTheDescriptorLimitAreRestoredAndTakenBackWhole) {
    for (int group = 0; group < 12; ++group) {
        for (int i = 0; i < 10; ++i) {
            const std::string path = "skupina " + std::to_string(group) + "/složka " + std::to_string(i);
            file(path + "/a", 100 + i, static_cast<std::uint32_t>(group * 10 + i));
            file(path + "/b", 10, 7);
            ::chmod(dir.file(path).c_str(), 0750);
            setTime(dir.file(path), 1'400'000'000 + group * 10 + i, 0);
        }
    }
    folder("prázdná");
    const FolderState before = treeSnapshot(dir.path());
    ASSERT_EQ(encryptTree(dir.path(), kKey), "");
    const auto sealed = readFile(package());
    auto damaged = sealed;
    damaged[damaged.size() - 5] ^= 1;  // the last chunk: every file restored and many named before it
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit few {64, 64};  // 133 folders, 240 files
        ::setrlimit(RLIMIT_NOFILE, &few);
        writeFile(package(), damaged);
        const bool refused = decryptPackage(package(), kKey) == msg::kDamaged;
        const bool untouched = dir.entries() == std::vector<std::string>{"directory.cff"};
        writeFile(package(), sealed);
        const bool restored = decryptPackage(package(), kKey).empty();
        ::_exit(refused && untouched ? (restored ? 0 : 3) : (refused ? 2 : 1));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: damage not reported, 2: names or folders left behind, 3: good package refused";
    EXPECT_EQ(treeSnapshot(dir.path()), before);
}
