// SPDX-License-Identifier: GPL-3.0-or-later
// The four older bases through their exports: round trips, and every refusal leaving the file as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "engine/Ports.h"
#include "engine/VQ104.h"
#include "engine/VQ105.h"
#include "engine/VQ106.h"
#include "engine/VQ201.h"
#include "engine/core/Messages.h"
#include "tests/engine/TempDir.h"
#include "tests/engine/legacy/LegacyWriters.h"

namespace {

using legacytest::Bytes;
using legacytest::WriteOptions;
using testutil::TempDir;

struct BaseCase {
    const char* name;
    std::function<Bytes(const Bytes&, const std::string&, const WriteOptions&)> write;
    std::function<void(const std::string&, const std::string&)> decrypt;
    std::size_t minimalSize;
    WriteOptions tooCostly;
    WriteOptions tooCheap;
    std::size_t firstChunkAt = 0;  // chunked bases: header size; chunks of 4096 + 16 bytes
};

WriteOptions hostile(std::function<void(WriteOptions&)> change) {
    WriteOptions options;
    options.deriveKeys = false;
    change(options);
    return options;
}

const WriteOptions kPbkdf2TooCostly = hostile([](auto& o) { o.iterations = 0xFFFFFFFF; });
const WriteOptions kPbkdf2TooCheap = hostile([](auto& o) { o.iterations = 999; });

const std::vector<BaseCase>& bases() {
    static const std::vector<BaseCase> all{
        {"Base104", legacytest::write104, VQ104::desifrovat, 108, kPbkdf2TooCostly, kPbkdf2TooCheap},
        {"Base105", legacytest::write105, VQ105::desifrovat, 100, kPbkdf2TooCostly, kPbkdf2TooCheap},
        {"Base106", legacytest::write106, VQ106::desifrovat, 72, kPbkdf2TooCostly, kPbkdf2TooCheap, 56},
        {"Base2010", legacytest::write2010, VQ201::desifrovat, 92,
         hostile([](auto& o) { o.scryptLog2N = 30; }), hostile([](auto& o) { o.scryptLog2N = 9; }), 76},
    };
    return all;
}

const std::string kKey = "Žluťoučký kůň 1";

std::string errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const engine::Error& e) {
        return e.what();
    }
    return "(no error)";
}

class OlderBase : public ::testing::TestWithParam<std::size_t> {
protected:
    const BaseCase& base() const { return bases()[GetParam()]; }
    Bytes write(const Bytes& plain, const std::string& key = kKey, const WriteOptions& options = {}) const {
        return base().write(plain, key, options);
    }

    // The file refuses to decrypt with `expected` and stays byte for byte as it was, with nothing beside it.
    void expectRefused(const Bytes& content, const char* expected, const std::string& key = kKey) {
        TempDir dir;
        const auto path = dir.file("f.mvx");
        testutil::writeFile(path, content);
        EXPECT_EQ(errorOf([&] { base().decrypt(path, key); }), expected);
        EXPECT_EQ(testutil::readFile(path), content);
        EXPECT_EQ(dir.entries().size(), 1u);
    }

    void expectRefused(const Bytes& content) {
        TempDir dir;
        const auto path = dir.file("f.mvx");
        testutil::writeFile(path, content);
        EXPECT_THROW(base().decrypt(path, kKey), engine::Error);
        EXPECT_EQ(testutil::readFile(path), content);
        EXPECT_EQ(dir.entries().size(), 1u);
    }
};

TEST_P(OlderBase, DecryptsItsFixturesOfEverySizeInPlace) {
    // Chunk boundaries (4096) included: a full last chunk is followed by an empty one.
    for (std::size_t size : {0u, 1u, 4095u, 4096u, 5000u, 8192u, (3u << 19) + 7u}) {
        SCOPED_TRACE(size);
        TempDir dir;
        const auto path = dir.file("f");
        const Bytes plain = testutil::randomBytes(size, static_cast<std::uint32_t>(size));
        const Bytes encrypted = write(plain);
        EXPECT_EQ(encrypted.size() >= base().minimalSize, true);
        testutil::writeFile(path, encrypted);
        base().decrypt(path, kKey);
        EXPECT_EQ(testutil::readFile(path), plain);
        EXPECT_EQ(dir.entries().size(), 1u);
    }
}

TEST_P(OlderBase, AnEmptyKeyIsAKeyLikeAnyOther) {
    TempDir dir;
    const Bytes plain = testutil::randomBytes(300, 7);
    testutil::writeFile(dir.file("f"), write(plain, ""));
    EXPECT_EQ(errorOf([&] { base().decrypt(dir.file("f"), "x"); }), engine::msg::kWrongKey);
    base().decrypt(dir.file("f"), "");
    EXPECT_EQ(testutil::readFile(dir.file("f")), plain);
}

TEST_P(OlderBase, EmptyFileIsExactlyTheMinimalSize) {
    EXPECT_EQ(write({}).size(), base().minimalSize);
}

TEST_P(OlderBase, WrongKeyChangesNothing) {
    const Bytes file = write(testutil::randomBytes(5000, 1));
    expectRefused(file, engine::msg::kWrongKey, "Žluťoučký kůň 2");
    expectRefused(file, engine::msg::kWrongKey, "");
}

TEST_P(OlderBase, RefusesFilesOfOtherBasesAndPlainFiles) {
    const Bytes plain = testutil::randomBytes(5000, 2);
    for (std::size_t other = 0; other < bases().size(); ++other) {
        if (other == GetParam()) continue;
        SCOPED_TRACE(bases()[other].name);
        expectRefused(bases()[other].write(plain, kKey, {}), engine::msg::kNotOurFile);
    }
    expectRefused(plain, engine::msg::kNotOurFile);
    expectRefused({}, engine::msg::kNotOurFile);
    expectRefused({'M', 'V', 'X'}, engine::msg::kNotOurFile);
}

TEST_P(OlderBase, DetectsAnyFlippedByte) {
    const Bytes file = write(testutil::randomBytes(9000, 3));
    // Every header byte, then a sample through the body, and the very last byte (a tag).
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < 80; ++i) positions.push_back(i);
    for (std::size_t i = 80; i < file.size(); i += 997) positions.push_back(i);
    positions.push_back(file.size() - 1);
    for (std::size_t position : positions) {
        SCOPED_TRACE(position);
        Bytes damaged = file;
        damaged[position] ^= 0x01;
        expectRefused(damaged);
    }
}

TEST_P(OlderBase, DetectsTruncationAndAppendedBytes) {
    const Bytes file = write(testutil::randomBytes(9000, 4));
    for (std::size_t cut : {std::size_t{1}, std::size_t{16}, std::size_t{32}, std::size_t{4112}, file.size() - 8,
                            file.size() - base().minimalSize + 1}) {
        SCOPED_TRACE(cut);
        expectRefused(Bytes(file.begin(), file.end() - static_cast<std::ptrdiff_t>(cut)));
    }
    for (std::size_t extra : {1u, 16u, 4112u}) {
        SCOPED_TRACE(extra);
        Bytes longer = file;
        longer.resize(file.size() + extra, 0);
        expectRefused(longer);
    }
}

TEST_P(OlderBase, DetectsSwappedChunks) {
    if (base().firstChunkAt == 0) GTEST_SKIP() << "one cipher text under one tag";
    Bytes file = write(testutil::randomBytes(3 * 4096 + 100, 9));
    constexpr std::ptrdiff_t kSealed = 4096 + 16;
    const auto first = file.begin() + static_cast<std::ptrdiff_t>(base().firstChunkAt);
    std::swap_ranges(first, first + kSealed, first + kSealed);
    expectRefused(file, engine::msg::kDamaged);
}

TEST_P(OlderBase, BoundsTheKdfCostBeforeRunningIt) {
    // Were the cost not bounded first, this would run for hours or exhaust memory.
    expectRefused(write(testutil::randomBytes(100, 5), kKey, base().tooCostly), engine::msg::kKdfTooCostly);
    expectRefused(write(testutil::randomBytes(100, 5), kKey, base().tooCheap), engine::msg::kDamaged);
}

TEST_P(OlderBase, KeepsPermissionsAndFollowsSymbolicLinks) {
    TempDir dir;
    const Bytes plain = testutil::randomBytes(2000, 6);
    const auto real = dir.file("real");
    const auto link = dir.file("link");
    testutil::writeFile(real, write(plain));
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink(real, link);
    base().decrypt(link, kKey);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(testutil::readFile(real), plain);
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.entries().size(), 2u);
}

TEST_P(OlderBase, RefusesMissingPathsAndFolders) {
    TempDir dir;
    EXPECT_EQ(errorOf([&] { base().decrypt(dir.file("missing"), kKey); }), engine::msg::kFileMissing);
    EXPECT_EQ(errorOf([&] { base().decrypt("", kKey); }), engine::msg::kFileMissing);
    EXPECT_EQ(errorOf([&] { base().decrypt(dir.path(), kKey); }), engine::msg::kNotARegularFile);
}

TEST_P(OlderBase, ReadOnlyFolderLeavesTheFileAsItWas) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TempDir dir;
    const auto path = dir.file("f");
    const Bytes file = write(testutil::randomBytes(2000, 8));
    testutil::writeFile(path, file);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0500), 0);
    EXPECT_EQ(errorOf([&] { base().decrypt(path, kKey); }), engine::msg::kCannotWrite);
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(testutil::readFile(path), file);
    EXPECT_EQ(dir.entries().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(All, OlderBase, ::testing::Range<std::size_t>(0, 4),
                         [](const auto& test) { return std::string(bases()[test.param].name); });

}  // namespace
