// SPDX-License-Identifier: GPL-3.0-or-later
// The file flag, one-way encryption and files with more than one name.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "engine/VQ201.h"
#include "engine/VQ203.h"
#include "engine/core/TestHooks.h"
#include "engine/core/Messages.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/Refusal.h"
#include "tests/engine/Sealed.h"
#include "tests/engine/TempDir.h"

using testutil::FakeBar;
using testutil::FakeField;
using testutil::FakeWindow;
using testutil::TempDir;

namespace {

class FileFlag : public ::testing::Test {
protected:
    void SetUp() override { engine::core::setScryptCostForTesting(10); }
    TempDir dir;
    FakeBar bar;
    FakeWindow window;
};

}  // namespace


TEST_F(FileFlag, TravelsInsideTheEncryptedFileAndNeverTouchesThePlainOne) {
    const auto path = dir.file("a.txt");
    const auto plain = testutil::randomBytes(5000, 1);
    for (const std::string fingerprint : {"0123abcd", ""}) {
        SCOPED_TRACE(fingerprint);
        testutil::writeFile(path, plain);
        VQ203::priznak_pridat(fingerprint, path, bar);
        EXPECT_EQ(testutil::readFile(path), plain) << "the plain file is left exactly as it was";
        VQ203::sifrovat(path, "k", bar, window);
        VQ203::desifrovat(path, "k", bar, window);
        EXPECT_EQ(testutil::readFile(path), plain) << "the flag is off before the result is in place";
        FakeField buffer("old");
        VQ203::priznak_odebrat(buffer, path, bar);
        EXPECT_EQ(buffer.text(), fingerprint);
        EXPECT_EQ(buffer.changes, 1);
        EXPECT_EQ(testutil::readFile(path), plain);
        EXPECT_EQ(bar.positions.back(), 100);
    }
}

TEST_F(FileFlag, IsHandedBackOnceAndOnlyAfterADecryptionOfThatFile) {
    const auto path = dir.file("a.txt");
    const auto other = dir.file("b.txt");
    testutil::writeFile(path, testutil::randomBytes(300, 2));
    testutil::writeFile(other, testutil::randomBytes(300, 3));
    VQ203::priznak_pridat("fp", path, bar);
    VQ203::sifrovat(path, "k", bar, window);
    VQ203::desifrovat(path, "k", bar, window);
    FakeField buffer("old");
    VQ203::priznak_odebrat(buffer, other, bar);
    EXPECT_EQ(buffer.text(), "") << "another file carried no flag";
    VQ203::priznak_odebrat(buffer, path, bar);
    EXPECT_EQ(buffer.text(), "fp");
    VQ203::priznak_odebrat(buffer, path, bar);
    EXPECT_EQ(buffer.text(), "");
    // A flag given for one encryption is used by it alone: the next one of the same file carries none.
    VQ203::priznak_pridat("once", path, bar);
    VQ203::sifrovat(path, "k", bar, window);
    VQ203::desifrovat(path, "k", bar, window);
    VQ203::sifrovat(path, "k", bar, window);
    VQ203::desifrovat(path, "k", bar, window);
    VQ203::priznak_odebrat(buffer, path, bar);
    EXPECT_EQ(buffer.text(), "");
}

TEST_F(FileFlag, AFileWrittenAfterItsFingerprintWasGivenIsNotEncrypted) {
    const auto path = dir.file("a.txt");
    testutil::writeFile(path, testutil::randomBytes(2000, 3));
    VQ203::priznak_pridat("fp", path, bar);
    const auto edited = testutil::randomBytes(2000, 4);  // same length, and the time put back below
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    testutil::writeFile(path, edited);
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    testutil::expectRefused(path, engine::msg::kChangedMeanwhile, [&] { VQ203::sifrovat(path, "k", bar, window); });
    EXPECT_EQ(testutil::readFile(path), edited);
}

// The handler takes the fingerprint, then gives it as the flag: an edit landing in between (or while the
// fingerprint is read) must stop the encryption, else the decryption would call the edit damage.
TEST_F(FileFlag, AnEditAfterTheFingerprintWasTakenStopsTheEncryption) {
    const auto path = dir.file("a.txt");
    const auto original = testutil::randomBytes(3000, 5);
    testutil::writeFile(path, original);
    FakeField fingerprint;
    VQ201::hash(path, fingerprint);
    const auto edited = testutil::randomBytes(3000, 6);
    testutil::writeFile(path, edited);
    VQ203::priznak_pridat(fingerprint.text(), path, bar);
    testutil::expectRefused(path, engine::msg::kChangedMeanwhile, [&] { VQ203::sifrovat(path, "k", bar, window); });
    EXPECT_EQ(testutil::readFile(path), edited);

    // Untouched in between, or written again with the same content, the same sequence encrypts and gives
    // the fingerprint back.
    VQ201::hash(path, fingerprint);
    testutil::writeFile(path, edited);
    VQ203::priznak_pridat(fingerprint.text(), path, bar);
    VQ203::sifrovat(path, "k", bar, window);
    VQ203::desifrovat(path, "k", bar, window);
    FakeField buffer;
    VQ203::priznak_odebrat(buffer, path, bar);
    EXPECT_EQ(buffer.text(), fingerprint.text());
    EXPECT_EQ(testutil::readFile(path), edited);
}

TEST_F(FileFlag, FilesOfTheEarlierVersionGiveBackTheFlagTheirContentEndsWith) {
    const auto path = dir.file("old.txt");
    const auto content = testutil::randomBytes(70000, 5);
    // Written as the earlier version did: the flag appended to the plain file, then all of it encrypted
    // under the version-1 magic.
    auto plainWithFlag = content;
    const std::string fingerprint = "abc";
    plainWithFlag.insert(plainWithFlag.end(), fingerprint.begin(), fingerprint.end());
    const unsigned char trailer[] = {0, 3, 'M', 'V', 'X', 'F', 'L', 'A', 'G', 1};
    plainWithFlag.insert(plainWithFlag.end(), std::begin(trailer), std::end(trailer));
    testutil::writeFile(path, testutil::sealedWith(engine::core::kMagicNormalV1, plainWithFlag, "k"));
    EXPECT_EQ(VQ203::desifrovatelnost(path), VQ203::Normal);
    EXPECT_EQ(VQ203::passcheck(path, "k"), 1);
    VQ203::desifrovat(path, "k", bar, window);
    EXPECT_EQ(testutil::readFile(path), content);
    FakeField buffer;
    VQ203::priznak_odebrat(buffer, path, bar);
    EXPECT_EQ(buffer.text(), fingerprint);
}

TEST(OneWay, OverwritesInPlaceKeepingTheLengthAndLeavesNothingEncryptedLooking) {
    engine::core::setScryptCostForTesting(10);
    TempDir dir;
    FakeBar bar;
    FakeWindow window;
    const auto path = dir.file("gone.bin");
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{3 << 20}}) {
        SCOPED_TRACE(size);
        testutil::writeFile(path, std::vector<unsigned char>(size, 0));
        VQ203::sifrovat(path, "k", bar, window);  // even one of our own files is made unreadable
        const auto before = testutil::readFile(path);
        VQ203::sifrovat0(path, bar, window);
        const auto after = testutil::readFile(path);
        EXPECT_EQ(after.size(), before.size());
        EXPECT_NE(after, before);
        EXPECT_LE(VQ203::desifrovatelnost(path), 0);
        EXPECT_EQ(VQ203::passcheck(path, "k"), 0);
        EXPECT_EQ(dir.entries().size(), 1u);
        EXPECT_EQ(bar.positions.back(), 100);
    }
}

TEST(Detection, OlderBaseMagicsGetTheirOwnPositiveKinds) {
    TempDir dir;
    const auto path = dir.file("old");
    const std::pair<const char*, int> bases[] = {{"MVX104C\x01", VQ203::Base104}, {"MVX105T\x01", VQ203::Base105},
                                                 {"MVX106P\x01", VQ203::Base106}, {"MVX201G\x01", VQ203::Base2010}};
    for (const auto& [magic, kind] : bases) {
        std::vector<unsigned char> bytes(magic, magic + 8);
        bytes.resize(200, 7);
        testutil::writeFile(path, bytes);
        EXPECT_EQ(VQ203::desifrovatelnost(path), kind);
        EXPECT_NE(kind, VQ203::Fast);
    }
}

TEST(HardLinks, InPlaceWorkRefusesAFileWithOtherNamesButDestructionReachesThemAll) {
    engine::core::setScryptCostForTesting(10);
    TempDir dir;
    FakeBar bar;
    FakeWindow window;
    const auto path = dir.file("a.txt");
    const auto otherName = dir.file("b.txt");
    testutil::writeFile(path, testutil::randomBytes(3000, 8));
    ASSERT_EQ(::link(path.c_str(), otherName.c_str()), 0);
    // A replacement would leave the other name showing the plaintext while reporting success.
    for (auto work : {VQ203::sifrovat, VQ203::fastsifrovat})
        testutil::expectRefused(path, engine::msg::kHardLinks, [&] { work(path, "k", bar, window); });

    ASSERT_EQ(::unlink(otherName.c_str()), 0);
    VQ203::sifrovat(path, "k", bar, window);
    ASSERT_EQ(::link(path.c_str(), otherName.c_str()), 0);
    for (auto work : {VQ203::desifrovat, VQ203::fastdesifrovat})
        testutil::expectRefused(path, engine::msg::kHardLinks, [&] { work(path, "k", bar, window); });

    const auto before = testutil::readFile(path);
    VQ203::sifrovat0(path, bar, window);
    EXPECT_NE(testutil::readFile(otherName), before) << "both names show the destroyed content";
    EXPECT_EQ(testutil::readFile(otherName), testutil::readFile(path));
}

TEST(OneWay, SkipsHolesSoThatASparseFileNeedsNoNewBlocks) {
    TempDir dir;
    FakeBar bar;
    FakeWindow window;
    const auto path = dir.file("sparse.img");
    const auto data = testutil::randomBytes(4096, 9);
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::pwrite(fd, data.data(), data.size(), 64 << 20), 4096);  // 64 MiB hole, then data
        ASSERT_EQ(::ftruncate(fd, (128 << 20)), 0);                         // and a hole at the end
        ::close(fd);
    }
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    if (before.st_blocks * 512 >= (64 << 20)) GTEST_SKIP() << "this file system keeps no holes";
    VQ203::sifrovat0(path, bar, window);
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_blocks, before.st_blocks) << "holes were written into";
    std::vector<unsigned char> now(4096);
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_EQ(::pread(fd, now.data(), now.size(), 64 << 20), 4096);
    ::close(fd);
    EXPECT_NE(now, data);
    EXPECT_EQ(bar.positions.back(), 100);
}

TEST(OneWay, AFailurePartWaySaysTheFileIsPartlyDestroyed) {
    // A limit that holds for root too: the first blocks are overwritten, then a write past the limit fails.
    TempDir dir;
    FakeBar bar;
    FakeWindow window;
    const auto path = dir.file("big.bin");
    testutil::writeFile(path, testutil::randomBytes(3u << 20, 10));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // In a child: a process-wide file size limit must not reach the other tests.
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {1u << 20, 1u << 20};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            VQ203::sifrovat0(path, bar, window);
        } catch (const engine::Error& error) {
            ::_exit(std::string(error.what()) == engine::msg::kPartlyDestroyed ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: another message";
}
