// SPDX-License-Identifier: GPL-3.0-or-later
// What lets the keyed sequence overlap its steps: a key derivation started before the fingerprint, and the
// fingerprint of a decrypted file taken from the bytes the decryption wrote. Each must give exactly what the
// slow way gives, and must never be used for another file, another key or a file changed since.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <openssl/sha.h>

#include "engine/VQ201.h"
#include "engine/VQ203.h"
#include "engine/core/Hex.h"
#include "engine/core/Magic.h"
#include "engine/core/Sha256.h"
#include "engine/core/TestHooks.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/Sealed.h"
#include "tests/engine/TempDir.h"

using testutil::FakeBar;
using testutil::FakeField;
using testutil::FakeWindow;
using testutil::TempDir;

namespace {

std::string sha256Of(const std::vector<unsigned char>& bytes) {
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(bytes.data(), bytes.size(), digest);
    return engine::core::toHex(digest, sizeof digest);
}

class HeadStart : public ::testing::Test {
protected:
    void SetUp() override { engine::core::setScryptCostForTesting(12); }
    TempDir dir;
    FakeBar bar;
    FakeWindow window;
};

}  // namespace

TEST_F(HeadStart, APreparedKeyServesOnlyTheSameFileAndKeyText) {
    const auto path = dir.file("a.bin");
    const auto other = dir.file("b.bin");
    const auto plain = testutil::randomBytes(200000, 1);
    struct Case {
        const char* what;
        std::string preparedFile, preparedKey;
    } cases[] = {{"same file and key", path, "klíč"},
                 {"another key text", path, "klíč2"},
                 {"another file", other, "klíč"}};
    testutil::writeFile(other, {1});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testutil::writeFile(path, plain);
        VQ203::prepareKey(c.preparedFile, c.preparedKey);
        VQ203::sifrovat(path, "klíč", bar, window);
        EXPECT_EQ(VQ203::passcheck(path, c.preparedKey == "klíč" ? "klíč2" : c.preparedKey), 0);
        ASSERT_EQ(VQ203::passcheck(path, "klíč"), 1) << "the file is sealed under the key it was given";
        VQ203::desifrovat(path, "klíč", bar, window);
        EXPECT_EQ(testutil::readFile(path), plain);
    }
}

TEST_F(HeadStart, AFileDigestCoversExactlyTheBytesUpToItsLimit) {
    const auto path = dir.file("digest.bin");
    const auto bytes = testutil::randomBytes((1u << 20) * 2 + 777, 2);  // across the read buffer's size
    testutil::writeFile(path, bytes);
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    for (const std::uint64_t limit : {std::uint64_t{0}, std::uint64_t{1u << 20}, std::uint64_t{bytes.size() - 74},
                                      std::uint64_t{bytes.size()}, std::uint64_t{bytes.size() + 1}, UINT64_MAX}) {
        const std::uint64_t expected = std::min<std::uint64_t>(limit, bytes.size());
        const auto result = engine::core::sha256OfFile(fd, limit);
        EXPECT_EQ(result.bytes, expected) << limit;
        const std::vector<unsigned char> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(expected));
        EXPECT_EQ(engine::core::toHex(result.digest.data(), result.digest.size()), sha256Of(prefix)) << limit;
    }
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), 0) << "the descriptor's position is left where it was";
    ::close(fd);
}

TEST_F(HeadStart, TheFingerprintAfterADecryptionIsOfTheFileAsItIsNow) {
    const auto path = dir.file("doc.txt");
    const auto plain = testutil::randomBytes(300000, 3);
    for (const bool changedAfterwards : {false, true}) {
        SCOPED_TRACE(changedAfterwards);
        testutil::writeFile(path, plain);
        VQ203::priznak_pridat(sha256Of(plain), path, bar);
        VQ203::fastsifrovat(path, "k", bar, window);
        VQ203::fastdesifrovat(path, "k", bar, window);
        auto expected = plain;
        if (changedAfterwards) {
            // Another program writes the same length and puts the modification time back.
            struct stat before {};
            ASSERT_EQ(::stat(path.c_str(), &before), 0);
            expected[0] ^= 0xff;
            const int fd = ::open(path.c_str(), O_WRONLY);
            ASSERT_EQ(::pwrite(fd, expected.data(), 1, 0), 1);
            ::close(fd);
            const struct timespec times[2] = {before.st_atim, before.st_mtim};
            ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
        }
        FakeField fingerprint;
        VQ201::hash(path, fingerprint);
        EXPECT_EQ(fingerprint.text(), sha256Of(expected));
    }
}

TEST_F(HeadStart, TheFingerprintTakenWhileDecryptingCoversExactlyTheContent) {
    // The digest is taken from the plaintext batch by batch, up to where a flag may begin, and the rest from
    // the file once the flag is found: sizes around that point and around the batches, flags of every length.
    const auto path = dir.file("doc.bin");
    const std::size_t mostTrailer = 10 + 4096;
    const std::size_t normalBatch = 63 * 65536;  // the plaintext of one batch of normal chunks
    const std::string longest(4096, 'f');
    std::uint32_t seed = 10;
    for (const std::size_t size : {std::size_t{0}, mostTrailer - 1, mostTrailer + 1, normalBatch + 100,
                                   2 * normalBatch + mostTrailer + 3}) {
        for (const std::string& flag : {std::string(), longest}) {
            for (const bool fast : {false, true}) {
                SCOPED_TRACE(::testing::Message() << size << " bytes, flag of " << flag.size() << ", fast " << fast);
                const auto plain = testutil::randomBytes(size, seed++);
                testutil::writeFile(path, plain);
                VQ203::priznak_pridat(flag, path, bar);
                (fast ? VQ203::fastsifrovat : VQ203::sifrovat)(path, "k", bar, window);
                (fast ? VQ203::fastdesifrovat : VQ203::desifrovat)(path, "k", bar, window);
                ASSERT_EQ(testutil::readFile(path), plain);
                FakeField fingerprint;
                VQ201::hash(path, fingerprint);
                EXPECT_EQ(fingerprint.text(), sha256Of(plain));
            }
        }
    }
    // A file of the earlier version may carry no flag at all: every byte is content.
    const auto plain = testutil::randomBytes(normalBatch + 5000, seed);
    testutil::writeFile(path, testutil::sealedWith(engine::core::kMagicNormalV1, plain, "k"));
    VQ203::desifrovat(path, "k", bar, window);
    FakeField fingerprint;
    VQ201::hash(path, fingerprint);
    EXPECT_EQ(fingerprint.text(), sha256Of(plain));
}
