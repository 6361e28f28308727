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
#include "engine/core/Sha256.h"
#include "engine/core/TestHooks.h"
#include "tests/engine/Fakes.h"
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

TEST(TrailingSha256, GivesTheDigestOfTheContentWhateverThePiecesAndTheTrailer) {
    const auto bytes = testutil::randomBytes(100000, 2);
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4096}, std::size_t{65536}}) {
        for (const std::size_t trailer : {std::size_t{0}, std::size_t{10}, std::size_t{74}, std::size_t{4106}}) {
            engine::core::TrailingSha256 digest(4106);
            for (std::size_t at = 0; at < bytes.size(); at += piece)
                digest.update(bytes.data() + at, std::min(piece, bytes.size() - at));
            const std::vector<unsigned char> content(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(trailer));
            const auto sha = digest.finish(content.size());
            ASSERT_TRUE(sha.has_value()) << piece << " " << trailer;
            EXPECT_EQ(engine::core::toHex(sha->data(), sha->size()), sha256Of(content)) << piece << " " << trailer;
        }
    }
    engine::core::TrailingSha256 digest(10);
    digest.update(bytes.data(), 1000);
    EXPECT_FALSE(digest.finish(500).has_value()) << "already hashed past that point";
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
