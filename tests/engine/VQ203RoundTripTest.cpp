// SPDX-License-Identifier: GPL-3.0-or-later
// Encryption and decryption in place: round trips over the sizes that matter to the chunking, the file flag
// through the whole keyed sequence, progress, permissions and symbolic links.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "engine/VQ201.h"
#include "engine/VQ203.h"
#include "engine/core/TestHooks.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/TempDir.h"

using testutil::FakeBar;
using testutil::FakeField;
using testutil::FakeWindow;
using testutil::TempDir;

namespace {

constexpr std::size_t kNormalChunk = 64 * 1024;
constexpr std::size_t kFastChunk = 1 << 20;

struct Method {
    const char* name;
    void (*encrypt)(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&);
    void (*decrypt)(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&);
    int kind;
    std::size_t chunk;
};

const Method kNormal{"normal", VQ203::sifrovat, VQ203::desifrovat, VQ203::Normal, kNormalChunk};
const Method kFast{"fast", VQ203::fastsifrovat, VQ203::fastdesifrovat, VQ203::Fast, kFastChunk};

class RoundTrip : public ::testing::TestWithParam<Method> {
protected:
    void SetUp() override { engine::core::setScryptCostForTesting(10); }
    TempDir dir;
    FakeBar bar;
    FakeWindow window;
};

bool monotonicFrom0To100(const std::vector<int>& positions) {
    return !positions.empty() && positions.front() == 0 && positions.back() == 100 &&
           std::is_sorted(positions.begin(), positions.end()) && positions.size() <= 102;
}

}  // namespace

TEST_P(RoundTrip, EverySizeAroundTheChunkComesBackByteForByte) {
    const Method& m = GetParam();
    // The last size spans several batches of the read/encrypt/write pipeline.
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, m.chunk - 1, m.chunk, m.chunk + 1,
                                   5 * m.chunk + 7, (std::size_t{9} << 20) + 3}) {
        SCOPED_TRACE(size);
        const auto path = dir.file("data.bin");
        const auto plain = testutil::randomBytes(size, static_cast<std::uint32_t>(size));
        testutil::writeFile(path, plain);
        m.encrypt(path, "klíč", bar, window);
        const auto sealed = testutil::readFile(path);
        EXPECT_EQ(VQ203::desifrovatelnost(path), m.kind);
        EXPECT_EQ(VQ203::passcheck(path, "klíč"), 1);
        EXPECT_EQ(VQ203::passcheck(path, "klic"), 0);
        EXPECT_GT(sealed.size(), plain.size());
        if (size >= 64) {
            EXPECT_EQ(std::search(sealed.begin(), sealed.end(), plain.begin(), plain.begin() + 64), sealed.end());
        }
        m.decrypt(path, "klíč", bar, window);
        EXPECT_EQ(testutil::readFile(path), plain);
        EXPECT_EQ(dir.entries().size(), 1u);
    }
}

TEST_P(RoundTrip, SameFileAndKeyGiveDifferentCiphertextEachTime) {
    const Method& m = GetParam();
    const auto a = dir.file("a"), b = dir.file("b");
    testutil::writeFile(a, {1, 2, 3});
    testutil::writeFile(b, {1, 2, 3});
    m.encrypt(a, "k", bar, window);
    m.encrypt(b, "k", bar, window);
    EXPECT_NE(testutil::readFile(a), testutil::readFile(b));
}

TEST_P(RoundTrip, ProgressRunsFrom0To100AndModeAndLinksAreKept) {
    const Method& m = GetParam();
    const auto path = dir.file("target");
    const auto link = dir.file("link");
    testutil::writeFile(path, testutil::randomBytes(3 * m.chunk + 5, 1));
    ::chmod(path.c_str(), 0640);
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    m.encrypt(link, "k", bar, window);
    EXPECT_TRUE(monotonicFrom0To100(bar.positions));
    bar.positions.clear();
    m.decrypt(link, "k", bar, window);
    EXPECT_TRUE(monotonicFrom0To100(bar.positions));
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(testutil::readFile(path), testutil::randomBytes(3 * m.chunk + 5, 1));
}

TEST_P(RoundTrip, KeyedSequenceKeepsTheFingerprintThroughTheFlag) {
    const Method& m = GetParam();
    const auto path = dir.file("doc.txt");
    const auto plain = testutil::randomBytes(100000, 7);
    testutil::writeFile(path, plain);
    FakeField buffer, buffer0;
    VQ201::hash(path, buffer);
    VQ203::priznak_pridat(buffer.text(), path, bar);
    m.encrypt(path, "a" "b" "c", bar, window);
    EXPECT_EQ(VQ203::desifrovatelnost(path), m.kind);
    m.decrypt(path, "abc", bar, window);
    FakeField carried;
    VQ203::priznak_odebrat(carried, path, bar);
    VQ201::hash(path, buffer0);
    EXPECT_EQ(carried.text(), buffer.text());
    EXPECT_EQ(buffer0.text(), buffer.text());
    EXPECT_EQ(testutil::readFile(path), plain);
}

TEST_P(RoundTrip, EitherDecryptionOpensEitherMethodsFiles) {
    const Method& m = GetParam();
    const Method& other = m.kind == VQ203::Normal ? kFast : kNormal;
    const auto path = dir.file("x");
    testutil::writeFile(path, testutil::randomBytes(1000, 3));
    m.encrypt(path, "k", bar, window);
    other.decrypt(path, "k", bar, window);
    EXPECT_EQ(testutil::readFile(path), testutil::randomBytes(1000, 3));
}

INSTANTIATE_TEST_SUITE_P(Methods, RoundTrip, ::testing::Values(kNormal, kFast),
                         [](const auto& test) { return std::string(test.param.name); });
