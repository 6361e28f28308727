// SPDX-License-Identifier: GPL-3.0-or-later
// What a decryption (and the other exports) must survive: wrong keys, changed headers and bodies, cut,
// extended and reordered files, unfit paths and a full disk. Each time: the right engine::Error, the file
// unchanged, no temporary file left.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>

#include "engine/VQ201.h"
#include "engine/VQ203.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/Refusal.h"
#include "tests/engine/TempDir.h"

using testutil::expectRefused;
using testutil::FakeBar;
using testutil::FakeField;
using testutil::FakeWindow;
using testutil::TempDir;
namespace msg = engine::msg;

namespace {

constexpr std::size_t kHeader = 80;
constexpr std::size_t kChunk = 64 * 1024;
constexpr std::size_t kStride = kChunk + 16;
constexpr std::size_t kPlainSize = 3 * kChunk + 100;  // three full chunks and a short last one
constexpr std::size_t kEmptyFlag = 10;                 // the flag sealed after the content, no fingerprint

class BadInput : public ::testing::Test {
protected:
    void SetUp() override {
        engine::core::setScryptCostForTesting(10);
        testutil::writeFile(path, testutil::randomBytes(kPlainSize, 42));
        VQ203::sifrovat(path, "správný", bar, window);
        sealed = testutil::readFile(path);
        ASSERT_EQ(sealed.size(), kHeader + kPlainSize + kEmptyFlag + 4 * 16);
    }
    void rewrite(const std::vector<unsigned char>& bytes) { testutil::writeFile(path, bytes); }
    void expectDecryptionRefused(const std::string& message) {
        expectRefused(path, message, [&] { VQ203::desifrovat(path, "správný", bar, window); });
    }

    TempDir dir;
    std::string path = dir.file("secret.bin");
    std::vector<unsigned char> sealed;
    FakeBar bar;
    FakeWindow window;
};

}  // namespace

TEST_F(BadInput, WrongKeyIsRefusedByBothDecryptionsAndByPasscheck) {
    expectRefused(path, msg::kWrongKey, [&] { VQ203::desifrovat(path, "spravny", bar, window); });
    expectRefused(path, msg::kWrongKey, [&] { VQ203::fastdesifrovat(path, "správný ", bar, window); });
    expectRefused(path, msg::kWrongKey, [&] { VQ203::desifrovat(path, "", bar, window); });
    EXPECT_EQ(VQ203::passcheck(path, "spravny"), 0);
    EXPECT_EQ(VQ203::passcheck(path, "správný"), 1);
}

TEST_F(BadInput, EveryHeaderByteChangedIsRefused) {
    for (std::size_t i = 0; i < kHeader; ++i) {
        SCOPED_TRACE(i);
        auto bytes = sealed;
        bytes[i] ^= 0x01;
        rewrite(bytes);
        std::string expected = msg::kWrongKey;  // salts and MAC: the key check fails
        if (i < 8) expected = msg::kNotOurFile;
        else if (i == 8 || i == 10 || i == 11 || i == 13) expected = msg::kDamaged;  // fields outside the format
        else if (i == 12 || i == 14 || i == 15) {
            // another chunk size: the body no longer fits it, or the key check fails
            expected = VQ203::desifrovatelnost(path) > 0 ? msg::kWrongKey : msg::kDamaged;
        }
        expectDecryptionRefused(expected);
        EXPECT_EQ(VQ203::passcheck(path, "správný"), 0);
    }
}

TEST_F(BadInput, ChangedBodyBytesAreRefused) {
    std::vector<std::size_t> positions{kHeader, kHeader + kChunk - 1, kHeader + kChunk, kHeader + kStride,
                                       kHeader + 3 * kStride, sealed.size() - 17, sealed.size() - 1};
    for (std::size_t i = 0; i < 24; ++i) positions.push_back(kHeader + (i * 7919 * 13) % (sealed.size() - kHeader));
    for (const std::size_t at : positions) {
        SCOPED_TRACE(at);
        auto bytes = sealed;
        bytes[at] ^= 0x80;
        rewrite(bytes);
        expectDecryptionRefused(msg::kDamaged);
    }
}

TEST_F(BadInput, CutAtAndBetweenChunkBoundariesIsRefused) {
    std::vector<std::size_t> lengths{kHeader, kHeader + 1, kHeader + 16, kHeader + kStride - 1};
    for (std::size_t k = 1; k <= 3; ++k) {
        lengths.push_back(kHeader + k * kStride);       // at a boundary: the last-chunk flag is missing
        lengths.push_back(kHeader + k * kStride + 17);  // between boundaries
    }
    lengths.push_back(sealed.size() - 1);
    lengths.push_back(sealed.size() - 16);
    for (const std::size_t length : lengths) {
        SCOPED_TRACE(length);
        rewrite({sealed.begin(), sealed.begin() + static_cast<long>(length)});
        expectDecryptionRefused(msg::kDamaged);
    }
    rewrite({sealed.begin(), sealed.begin() + 40});
    expectDecryptionRefused(msg::kDamaged);
    rewrite({});
    expectDecryptionRefused(msg::kNotOurFile);
}

TEST_F(BadInput, AppendedBytesAreRefused) {
    for (const std::size_t extra : {std::size_t{1}, std::size_t{16}, kStride}) {
        SCOPED_TRACE(extra);
        auto bytes = sealed;
        bytes.insert(bytes.end(), sealed.begin() + kHeader, sealed.begin() + static_cast<long>(kHeader + extra));
        rewrite(bytes);
        expectDecryptionRefused(msg::kDamaged);
    }
}

TEST_F(BadInput, SwappedOrDroppedChunksAreRefused) {
    auto swapped = sealed;
    std::swap_ranges(swapped.begin() + kHeader, swapped.begin() + kHeader + kStride, swapped.begin() + kHeader + kStride);
    rewrite(swapped);
    expectDecryptionRefused(msg::kDamaged);

    auto dropped = sealed;
    dropped.erase(dropped.begin() + kHeader + kStride, dropped.begin() + kHeader + 2 * kStride);
    rewrite(dropped);
    expectDecryptionRefused(msg::kDamaged);
}

TEST_F(BadInput, ChunksOfAnotherFileWithTheSameKeyAreRefused) {
    const auto other = dir.file("other.bin");
    testutil::writeFile(other, testutil::randomBytes(kPlainSize, 43));
    VQ203::sifrovat(other, "správný", bar, window);
    auto mixed = sealed;
    const auto foreign = testutil::readFile(other);
    std::copy(foreign.begin() + kHeader, foreign.begin() + kHeader + kStride, mixed.begin() + kHeader);
    rewrite(mixed);
    expectDecryptionRefused(msg::kDamaged);
}

TEST_F(BadInput, KdfCostAboveTheCapIsRefusedAtOnce) {
    for (const unsigned char log2N : std::initializer_list<unsigned char>{21, 40, 255}) {
        auto bytes = sealed;
        bytes[9] = log2N;
        rewrite(bytes);
        expectDecryptionRefused(msg::kKdfTooCostly);
        EXPECT_EQ(VQ203::passcheck(path, "správný"), 0);
        EXPECT_LE(VQ203::desifrovatelnost(path), 0);
    }
    auto weak = sealed;
    weak[9] = 9;
    rewrite(weak);
    expectDecryptionRefused(msg::kDamaged);
}

TEST_F(BadInput, ForeignFilesAreNotTakenForEncrypted) {
    const auto plain = dir.file("plain.txt");
    for (const auto& content : {std::vector<unsigned char>{}, std::vector<unsigned char>{'M'},
                                std::vector<unsigned char>{'a', 'h', 'o', 'j', '\n'}, testutil::randomBytes(5000, 9),
                                std::vector<unsigned char>(sealed.begin(), sealed.begin() + 79)}) {
        testutil::writeFile(plain, content);
        EXPECT_LE(VQ203::desifrovatelnost(plain), 0);
        EXPECT_EQ(VQ203::passcheck(plain, "správný"), 0);
    }
    testutil::writeFile(plain, testutil::randomBytes(5000, 9));
    expectRefused(plain, msg::kNotOurFile, [&] { VQ203::desifrovat(plain, "k", bar, window); });
}

TEST_F(BadInput, UnfitPathsAreRefusedByEveryExport) {
    FakeField field("before");
    for (const std::string& bad : {dir.file("missing"), std::string(), dir.path()}) {
        SCOPED_TRACE(bad);
        const std::string expected =
            bad == dir.path() ? msg::kNotARegularFile : std::string(msg::kFileMissing);
        expectRefused(bad, expected, [&] { VQ203::sifrovat(bad, "k", bar, window); });
        expectRefused(bad, expected, [&] { VQ203::fastsifrovat(bad, "k", bar, window); });
        expectRefused(bad, expected, [&] { VQ203::desifrovat(bad, "k", bar, window); });
        expectRefused(bad, expected, [&] { VQ203::fastdesifrovat(bad, "k", bar, window); });
        expectRefused(bad, expected, [&] { VQ203::sifrovat0(bad, bar, window); });
        expectRefused(bad, expected, [&] { VQ203::priznak_pridat("ab", bad, bar); });
        expectRefused(bad, expected, [&] { VQ203::priznak_odebrat(field, bad, bar); });
        expectRefused(bad, expected, [&] { VQ201::hash(bad, field); });
        EXPECT_EQ(VQ203::passcheck(bad, "k"), 0);
        EXPECT_LE(VQ203::desifrovatelnost(bad), 0);
    }
    EXPECT_EQ(field.text(), "before");
}

TEST_F(BadInput, AKeyCheckedForThisFileDoesNotOpenItForAnotherKey) {
    ASSERT_EQ(VQ203::passcheck(path, "správný"), 1);
    expectRefused(path, msg::kWrongKey, [&] { VQ203::desifrovat(path, "jiný", bar, window); });
    ASSERT_EQ(VQ203::passcheck(path, "správný"), 1);
    auto changed = sealed;
    changed[100] ^= 1;  // the body changed after the check: still authenticated chunk by chunk
    rewrite(changed);
    expectDecryptionRefused(msg::kDamaged);
    rewrite(sealed);
    ASSERT_EQ(VQ203::passcheck(path, "správný"), 1);
    VQ203::desifrovat(path, "správný", bar, window);
    EXPECT_EQ(testutil::readFile(path), testutil::randomBytes(kPlainSize, 42));
}

TEST_F(BadInput, AFifoInTheFilesPlaceIsRefusedWithoutHanging) {
    const auto fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    expectRefused(fifo, msg::kNotARegularFile, [&] { VQ203::desifrovat(fifo, "k", bar, window); });
    EXPECT_LE(VQ203::desifrovatelnost(fifo), 0);
}

TEST_F(BadInput, UnreadableFileIsRefused) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    ::chmod(path.c_str(), 0);
    expectRefused(path, msg::kCannotRead, [&] { VQ203::desifrovat(path, "správný", bar, window); });
    EXPECT_EQ(VQ203::passcheck(path, "správný"), 0);
    ::chmod(path.c_str(), 0600);
}

TEST(BadInputFolders, ReadOnlyFolderIsRefusedAndTheFileKept) {
    engine::core::setScryptCostForTesting(10);
    FakeBar bar;
    FakeWindow window;
    testutil::SmallTmpfs fs("size=4m");
    TempDir plainDir;
    std::string folder = plainDir.path();
    if (fs.mounted()) folder = fs.path();
    else if (::geteuid() == 0) GTEST_SKIP() << "root writes into every folder and cannot mount here";
    const auto file = folder + "/a.bin";
    testutil::writeFile(file, testutil::randomBytes(10000, 1));
    if (fs.mounted()) ASSERT_TRUE(fs.remountReadOnly());
    else ::chmod(folder.c_str(), 0555);
    expectRefused(file, msg::kCannotWrite, [&] { VQ203::sifrovat(file, "k", bar, window); });
    expectRefused(file, msg::kCannotWrite, [&] { VQ203::fastsifrovat(file, "k", bar, window); });
    ::chmod(folder.c_str(), 0755);
}

TEST(BadInputFolders, FullDiskIsFoundBeforeAnythingChanges) {
    engine::core::setScryptCostForTesting(10);
    FakeBar bar;
    FakeWindow window;
    FakeField fingerprint;
    testutil::SmallTmpfs fs("size=1m");
    if (!fs.mounted()) GTEST_SKIP() << "needs root to mount a small tmpfs";
    const auto file = fs.file("big.bin");
    testutil::writeFile(file, testutil::randomBytes(700 * 1024, 5));
    const auto plain = testutil::readFile(file);
    VQ201::hash(file, fingerprint);
    VQ203::priznak_pridat(fingerprint.text(), file, bar);
    // The encryption fails for want of space; the flag added just before comes off again.
    try {
        VQ203::sifrovat(file, "k", bar, window);
        ADD_FAILURE() << "encryption on a full disk reported no error";
    } catch (const engine::Error& error) {
        EXPECT_STREQ(error.what(), msg::kDiskFull);
    }
    EXPECT_EQ(testutil::readFile(file), plain);
    EXPECT_FALSE(testutil::hasTemporaryFiles(fs.path()));
    expectRefused(file, msg::kDiskFull, [&] { VQ203::fastsifrovat(file, "k", bar, window); });

    // A file encrypted while there was room cannot be decrypted once the disk is full.
    testutil::writeFile(file, testutil::randomBytes(400 * 1024, 6));
    VQ203::sifrovat(file, "k", bar, window);
    testutil::writeFile(fs.file("filler"), testutil::randomBytes(500 * 1024, 7));
    expectRefused(file, msg::kDiskFull, [&] { VQ203::desifrovat(file, "k", bar, window); });
}
