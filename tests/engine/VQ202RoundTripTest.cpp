// SPDX-License-Identifier: GPL-3.0-or-later
// Folder packages that work: what sifrdir takes and desifrdir gives back, byte for byte with permissions and
// times, and what the window's bars and labels are told on the way.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "engine/core/TestHooks.h"
#include "engine/vq202/Messages.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/Refusal.h"
#include "tests/engine/TempDir.h"

using namespace testutil;
namespace msg = VQ202::msg;

namespace {

const std::string kKey = "tajný klíč 1";

class FolderRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { engine::core::setScryptCostForTesting(10); }
    std::string package() const { return dir.file("directory.cff"); }
    void write(const std::string& name, std::size_t size, std::uint32_t seed) {
        writeFile(dir.file(name), randomBytes(size, seed));
    }
    // Encrypts, checks that only the package (and what was never listed) is left, decrypts, compares.
    void expectRoundTrip(const std::vector<std::string>& leftAlone = {}) {
        const FolderState before = snapshot(dir.path());
        ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
        std::vector<std::string> expectedAfter = leftAlone;
        expectedAfter.push_back("directory.cff");
        auto entries = dir.entries();
        std::sort(entries.begin(), entries.end());
        std::sort(expectedAfter.begin(), expectedAfter.end());
        EXPECT_EQ(entries, expectedAfter);
        for (const auto& name : leftAlone) EXPECT_EQ(snapshot(dir.path())[name], before.at(name)) << name;

        ASSERT_EQ(decryptPackage(package(), kKey), "");
        EXPECT_EQ(snapshot(dir.path()), before);
    }
    TempDir dir;
};

}  // namespace

TEST_F(FolderRoundTrip, EmptyFolderGivesAPackageAndBackAnEmptyFolder) {
    expectRoundTrip();
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(FolderRoundTrip, OneFileOfSeveralChunks) {
    write("data.bin", 3 * 65536 + 17, 1);
    expectRoundTrip();
}

TEST_F(FolderRoundTrip, ThousandSmallFilesAndEmptyOnes) {
    for (int i = 0; i < 1000; ++i) write("f" + std::to_string(i), static_cast<std::size_t>(i % 7 == 0 ? 0 : 37 * i), i);
    expectRoundTrip();
}

TEST_F(FolderRoundTrip, CzechNamesWithBlanksKeepTheirBytes) {
    write("Žluťoučký kůň úpěl ďábelské ódy.txt", 1000, 2);
    write(" mezera na začátku a na konci ", 10, 3);
    write("ČÁST 2 (kopie).doc", 70000, 4);
    expectRoundTrip();
}

TEST_F(FolderRoundTrip, PermissionsAndTimesComeBackAlsoForAReadOnlyFile) {
    write("jen ke čtení.txt", 5000, 5);
    write("spustitelný.sh", 100, 6);
    ::chmod(dir.file("jen ke čtení.txt").c_str(), 0444);
    ::chmod(dir.file("spustitelný.sh").c_str(), 0751);
    const struct timespec old[2] = {{0, UTIME_OMIT}, {1'000'000'000, 123'456'789}};
    ::utimensat(AT_FDCWD, dir.file("jen ke čtení.txt").c_str(), old, 0);
    expectRoundTrip();
}

// Removing one name of a file moves the change time of its other names: that is no change of the file.
TEST_F(FolderRoundTrip, TwoNamesOfOneFileAreBothPackedAndRemoved) {
    write("a.txt", 5000, 8);
    write("c.txt", 300, 9);
    ASSERT_EQ(::link(dir.file("a.txt").c_str(), dir.file("b.txt").c_str()), 0);
    const auto content = readFile(dir.file("a.txt"));
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"directory.cff"});
    ASSERT_EQ(decryptPackage(package(), kKey), "");
    EXPECT_EQ(readFile(dir.file("a.txt")), content);
    EXPECT_EQ(readFile(dir.file("b.txt")), content);
}

TEST_F(FolderRoundTrip, AFileWithANameOutsideTheFolderIsRefusedAndNothingChanges) {
    write("a.txt", 5000, 10);
    write("c.txt", 300, 11);
    TempDir elsewhere;
    ASSERT_EQ(::link(dir.file("a.txt").c_str(), elsewhere.file("a-too.txt").c_str()), 0);
    const FolderState before = snapshot(dir.path());
    EXPECT_EQ(encryptFolder(dir.path(), kKey), std::string(msg::kNamesOutside) + "a.txt");
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST_F(FolderRoundTrip, HiddenFilesAndSubfoldersAreNeitherPackedNorTouched) {
    write("viditelný", 100, 7);
    write(".skrytý", 100, 8);
    std::filesystem::create_directory(dir.file("podsložka"));
    writeFile(dir.file("podsložka/uvnitř"), randomBytes(10, 9));
    expectRoundTrip({".skrytý", "podsložka"});
    EXPECT_EQ(readFile(dir.file("podsložka/uvnitř")), randomBytes(10, 9));
}

TEST_F(FolderRoundTrip, EncryptingTwiceAndDecryptingTwiceGivesBackTheFiles) {
    write("a.txt", 100, 10);
    write("b.txt", 200000, 11);
    const FolderState original = snapshot(dir.path());
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
    const FolderState once = snapshot(dir.path());
    ASSERT_EQ(encryptFolder(dir.path(), "jiný klíč"), "");  // the first package is an entry of the second
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"directory.cff"});

    ASSERT_EQ(decryptPackage(package(), "jiný klíč"), "");
    EXPECT_EQ(snapshot(dir.path()), once);
    ASSERT_EQ(decryptPackage(package(), kKey), "");
    EXPECT_EQ(snapshot(dir.path()), original);
}

TEST_F(FolderRoundTrip, PackageNotInTheListIsNeverReplaced) {
    write("a.txt", 100, 12);
    write("directory.cff", 50, 13);  // a file of that name the list does not carry
    FolderCall call;
    FakeFileList files(dir.path(), {"a.txt"});
    VQ202::sifrdir(package(), call.hashEdit, files, call.errorMsg, call.pb1, call.pb2, call.pbf, call.soubor,
                   call.status, call.window, kKey);
    EXPECT_EQ(call.errorMsg.text(), std::string(msg::kPackageInTheWay) + "directory.cff");
    EXPECT_EQ(readFile(package()), randomBytes(50, 13));
    EXPECT_EQ(readFile(dir.file("a.txt")), randomBytes(100, 12));
}

// Another program saves a file of the package's name while the package is written.
TEST_F(FolderRoundTrip, PackageNameTakenMeanwhileIsNeverReplaced) {
    struct SavingBar : engine::ProgressBar {
        std::string path;
        void setPosition(int percent) override {
            if (percent > 0 && !std::filesystem::exists(path)) writeFile(path, randomBytes(50, 14));
        }
    };
    write("a.txt", 100000, 15);
    FolderCall call;
    SavingBar saving;
    saving.path = package();
    FakeFileList files(dir.path(), {"a.txt"});
    VQ202::sifrdir(package(), call.hashEdit, files, call.errorMsg, call.pb1, call.pb2, saving, call.soubor,
                   call.status, call.window, kKey);
    EXPECT_EQ(call.errorMsg.text(), std::string(msg::kPackageInTheWay) + "directory.cff");
    EXPECT_TRUE(readFile(package()) == randomBytes(50, 14)) << "the other program's file was replaced";
    ASSERT_TRUE(std::filesystem::exists(dir.file("a.txt")));
    EXPECT_TRUE(readFile(dir.file("a.txt")) == randomBytes(100000, 15));
    EXPECT_FALSE(hasTemporaryFiles(dir.path()));
}

TEST_F(FolderRoundTrip, EmptyKeyOrMissingFolderIsRefusedAndNothingChanges) {
    write("a.txt", 100, 14);
    const FolderState before = snapshot(dir.path());
    EXPECT_EQ(encryptFolder(dir.path(), ""), msg::kEmptyKey);
    EXPECT_EQ(snapshot(dir.path()), before);
    FolderCall call;
    FakeFileList gone(dir.file("není"), {});
    VQ202::sifrdir(dir.file("není/directory.cff"), call.hashEdit, gone, call.errorMsg, call.pb1, call.pb2, call.pbf,
                   call.soubor, call.status, call.window, kKey);
    EXPECT_EQ(call.errorMsg.text(), msg::kFolderMissing);
    EXPECT_EQ(snapshot(dir.path()), before);
    // More files than a package's index may hold: refused before anything is read.
    FakeFileList huge(dir.path(), std::vector<std::string>(1'000'001, "a.txt"));
    VQ202::sifrdir(package(), call.hashEdit, huge, call.errorMsg, call.pb1, call.pb2, call.pbf, call.soubor,
                   call.status, call.window, kKey);
    EXPECT_EQ(call.errorMsg.text(), msg::kTooManyFiles);
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST_F(FolderRoundTrip, LinkOrFolderInTheListIsRefusedAndNothingChanges) {
    write("a.txt", 100, 15);
    std::filesystem::create_symlink("a.txt", dir.file("odkaz"));
    const FolderState before = snapshot(dir.path());
    FolderCall call;
    FakeFileList files(dir.path(), {"a.txt", "odkaz"});
    VQ202::sifrdir(package(), call.hashEdit, files, call.errorMsg, call.pb1, call.pb2, call.pbf, call.soubor,
                   call.status, call.window, kKey);
    EXPECT_EQ(call.errorMsg.text(), std::string(msg::kNotARegularFile) + "odkaz");
    EXPECT_EQ(snapshot(dir.path()), before);
    EXPECT_FALSE(hasTemporaryFiles(dir.path()));
}

// The window's list leaves such names out; handed them anyway, the library packs nothing that a restore would
// refuse.
TEST_F(FolderRoundTrip, ANameARestoreWouldRefuseIsRefusedAndNothingChanges) {
    write("a.txt", 100, 16);
    for (const auto& [name, shown] : std::vector<std::pair<std::string, std::string>>{
             {"řádek\nzlom.txt", "řádek\u240azlom.txt"}, {".x.mvxtmp-ABCDEF", ".x.mvxtmp-ABCDEF"}}) {
        write(name, 10, 17);
        const FolderState before = snapshot(dir.path());
        FolderCall call;
        FakeFileList files(dir.path(), {"a.txt", name});
        VQ202::sifrdir(package(), call.hashEdit, files, call.errorMsg, call.pb1, call.pb2, call.pbf, call.soubor,
                       call.status, call.window, kKey);
        EXPECT_EQ(call.errorMsg.text(), std::string(msg::kUnpackableName) + shown);
        EXPECT_EQ(snapshot(dir.path()), before);
    }
}

TEST_F(FolderRoundTrip, BarsAndLabelsFollowTheWorkAndErrorMsgIsEmptiedOnSuccess) {
    for (int i = 0; i < 4; ++i) write("soubor" + std::to_string(i), 100000, 20 + i);
    FolderCall call;
    call.errorMsg.setText("stará chyba");
    ASSERT_EQ(call.encrypt(dir.path(), kKey), "");
    for (const FakeBar* bar : {&call.pb1, &call.pb2, &call.pbf}) {
        ASSERT_FALSE(bar->positions.empty());
        EXPECT_TRUE(std::is_sorted(bar->positions.begin(), bar->positions.end()) || bar == &call.pbf);
        EXPECT_EQ(bar->positions.back(), 100);
    }
    EXPECT_GT(call.pb1.positions.size(), 4u);  // 0, 25, 50, 75, 100
    // pbf starts over for every file
    EXPECT_GE(std::count(call.pbf.positions.begin(), call.pbf.positions.end(), 0), 4);
    EXPECT_EQ(call.soubor.texts, (std::vector<std::string>{"soubor0", "soubor1", "soubor2", "soubor3"}));
    EXPECT_NE(std::find(call.status.texts.begin(), call.status.texts.end(), "Šifruje se soubor 2 z 4.."),
              call.status.texts.end());
    EXPECT_EQ(call.status.texts.back(), msg::kStatusDone);
    EXPECT_GT(call.window.repaints, 0);

    FolderCall back;
    ASSERT_EQ(back.decrypt(package(), kKey), "");
    EXPECT_EQ(back.soubor.texts, call.soubor.texts);
    EXPECT_NE(std::find(back.status.texts.begin(), back.status.texts.end(), "Dešifruje se soubor 4 z 4.."),
              back.status.texts.end());
    EXPECT_EQ(back.pb1.positions.back(), 100);
    EXPECT_EQ(back.pb2.positions.back(), 100);
}

namespace {

// Root may read any folder; without these two capabilities it is held to the permission bits like anyone.
bool dropFolderReadingPrivileges() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) return false;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) data[cap / 32].effective &= ~(1u << (cap % 32));
    return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

// A folder one may write into but not list (mode 0300) cannot be fsynced through a descriptor of its own: the
// package still has to be made durable before the originals go, and the run must not be reported as a
// failure that left the folder unchanged once the originals are gone.
TEST_F(FolderRoundTrip, AFolderThatCannotBeListedIsEncryptedAndSaysSo) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write("a.txt", 1000, 1);
    write("b.txt", 70000, 2);
    const std::vector<std::string> names = visibleFiles(dir.path());
    EXPECT_EXIT(
        {
            if (!dropFolderReadingPrivileges() || ::chmod(dir.path().c_str(), 0300) != 0) std::_Exit(2);
            FolderCall call;
            FakeFileList files(dir.path(), names);
            VQ202::sifrdir(package(), call.hashEdit, files, call.errorMsg, call.pb1, call.pb2, call.pbf, call.soubor,
                           call.status, call.window, kKey);
            ::chmod(dir.path().c_str(), 0700);
            const bool onlyThePackage = dir.entries() == std::vector<std::string>{"directory.cff"};
            std::fprintf(stderr, "ErrorMsg: %s\n", call.errorMsg.text().c_str());
            const bool restored = decryptPackage(package(), kKey).empty() &&
                                  readFile(dir.file("b.txt")) == randomBytes(70000, 2);
            std::_Exit(call.errorMsg.text().empty() && onlyThePackage && restored ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "ErrorMsg: \n");
}

// A run killed part-way leaves the package complete beside some of the files: originals that sifrdir had not
// yet removed, or files that desifrdir had already named. Running either operation again finishes the job.
class InterruptedFolder : public FolderRoundTrip {
protected:
    void SetUp() override {
        FolderRoundTrip::SetUp();
        write("a.txt", 100, 20);
        write("b.txt", 300000, 21);
        write("c.txt", 5000, 22);
        original = snapshot(dir.path());
    }
    // Puts files back as they were before the encryption, bytes, permissions and time.
    void putBack(const std::string& name) {
        const FileState& state = original.at(name);
        writeFile(dir.file(name), state.bytes);
        ::chmod(dir.file(name).c_str(), state.mode);
        const struct timespec times[2] = {{0, UTIME_OMIT}, {state.mtimeNs / 1'000'000'000, state.mtimeNs % 1'000'000'000}};
        ::utimensat(AT_FDCWD, dir.file(name).c_str(), times, 0);
    }
    FolderState original;
};

TEST_F(InterruptedFolder, EncryptionKilledWhileRemovingTheOriginalsIsFinishedByTheDecryption) {
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
    putBack("a.txt");
    putBack("b.txt");
    ASSERT_EQ(decryptPackage(package(), kKey), "") << "files that are the package's copies are not in the way";
    EXPECT_EQ(snapshot(dir.path()), original);
}

TEST_F(InterruptedFolder, EncryptionKilledWhileRemovingTheOriginalsIsFinishedByTheEncryption) {
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
    putBack("a.txt");
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");  // the complete package goes inside the new one
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"directory.cff"});
    ASSERT_EQ(decryptPackage(package(), kKey), "");
    ASSERT_EQ(decryptPackage(package(), kKey), "");
    EXPECT_EQ(snapshot(dir.path()), original);
}

TEST_F(InterruptedFolder, DecryptionKilledWhileNamingTheFilesIsFinishedByRunningItAgain) {
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
    const auto sealed = readFile(package());
    ASSERT_EQ(decryptPackage(package(), kKey), "");
    writeFile(package(), sealed);  // the package was not yet removed, and c.txt not yet named
    std::filesystem::remove(dir.file("c.txt"));
    ASSERT_EQ(decryptPackage(package(), kKey), "");
    EXPECT_EQ(snapshot(dir.path()), original);
}

TEST_F(InterruptedFolder, AFileThatDiffersFromThePackagesCopyStaysInTheWay) {
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
    const auto sealed = readFile(package());
    putBack("c.txt");
    auto edited = original.at("b.txt").bytes;
    edited.back() ^= 1;  // same size, one bit apart
    writeFile(dir.file("b.txt"), edited);
    EXPECT_EQ(decryptPackage(package(), kKey), std::string(msg::kFilesInTheWay) + "b.txt");
    EXPECT_EQ(readFile(dir.file("b.txt")), edited);
    EXPECT_EQ(readFile(package()), sealed);
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.txt"))) << "nothing restored while one file is in the way";
}

TEST_F(InterruptedFolder, NoRestoredFileHasANameBeforeThePackageHasAuthenticated) {
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
    struct WatchingBar : engine::ProgressBar {
        const TempDir* dir = nullptr;
        bool sawOtherNames = false;
        void setPosition(int percent) override {
            if (percent > 0 && percent < 100 && dir->entries() != std::vector<std::string>{"directory.cff"})
                sawOtherNames = true;
        }
    } watching;
    watching.dir = &dir;
    FolderCall call;
    FakeFileList files(dir.path(), {});
    VQ202::desifrdir(package(), call.hashEdit, files, call.errorMsg, call.pb1, call.pb2, watching, call.soubor,
                     call.status, call.window, kKey);
    EXPECT_EQ(call.errorMsg.text(), "");
    EXPECT_FALSE(watching.sawOtherNames) << "a kill at that moment would have left plaintext under a name";
    EXPECT_EQ(snapshot(dir.path()), original);
}
