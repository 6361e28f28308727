// The file flag and one-way encryption.
#include <gtest/gtest.h>

#include "engine/VQ203.h"
#include "engine/core/TestHooks.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/TempDir.h"

using testutil::FakeBar;
using testutil::FakeField;
using testutil::FakeWindow;
using testutil::TempDir;

TEST(FileFlag, AddedFlagComesOffWithItsFingerprintAndLeavesTheContent) {
    TempDir dir;
    FakeBar bar;
    const auto path = dir.file("a.txt");
    const auto plain = testutil::randomBytes(5000, 1);
    testutil::writeFile(path, plain);
    VQ203::priznak_pridat("0123abcd", path, bar);
    EXPECT_GT(testutil::readFile(path).size(), plain.size());
    FakeField buffer("old");
    VQ203::priznak_odebrat(buffer, path, bar);
    EXPECT_EQ(buffer.text(), "0123abcd");
    EXPECT_EQ(testutil::readFile(path), plain);
    EXPECT_EQ(bar.positions.back(), 100);
}

TEST(FileFlag, FileWithoutFlagIsLeftAsItIsAndTheFieldEmptied) {
    TempDir dir;
    FakeBar bar;
    const auto path = dir.file("a.txt");
    for (const auto& content : {std::vector<unsigned char>{}, std::vector<unsigned char>{'x'},
                                testutil::randomBytes(3000, 2)}) {
        testutil::writeFile(path, content);
        FakeField buffer("old");
        VQ203::priznak_odebrat(buffer, path, bar);
        EXPECT_EQ(buffer.text(), "");
        EXPECT_EQ(buffer.changes, 1);
        EXPECT_EQ(testutil::readFile(path), content);
    }
}

TEST(FileFlag, EmptyFileAndEmptyFingerprintRoundTrip) {
    TempDir dir;
    FakeBar bar;
    const auto path = dir.file("empty");
    testutil::writeFile(path, {});
    VQ203::priznak_pridat("", path, bar);
    FakeField buffer("old");
    VQ203::priznak_odebrat(buffer, path, bar);
    EXPECT_EQ(buffer.text(), "");
    EXPECT_TRUE(testutil::readFile(path).empty());
}

TEST(FileFlag, FailedEncryptionTakesTheFlagJustAddedOffAgain) {
    engine::core::setScryptCostForTesting(10);
    TempDir dir;
    FakeBar bar;
    FakeWindow window;
    const auto path = dir.file("a.txt");
    const auto plain = testutil::randomBytes(2000, 3);
    testutil::writeFile(path, plain);
    VQ203::priznak_pridat("fp", path, bar);
    EXPECT_THROW(VQ203::sifrovat(path, "", bar, window), engine::Error);  // an empty key is refused
    EXPECT_EQ(testutil::readFile(path), plain);
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
