// SPDX-License-Identifier: GPL-3.0-or-later
// The digest taken behind a writer: the same as one pass over the file whatever pieces the writer reports,
// nothing when the bytes are not there to read back, and no wait when the writing is given up.
#include <gtest/gtest.h>

#include <openssl/sha.h>

#include "engine/core/FileIO.h"
#include "engine/core/FollowingDigest.h"
#include "tests/engine/TempDir.h"

using engine::core::FollowingDigest;
using engine::core::InputFile;
using engine::core::Sha256Digest;

namespace {

Sha256Digest sha256Of(const std::vector<unsigned char>& data) {
    Sha256Digest digest{};
    SHA256(data.data(), data.size(), digest.data());
    return digest;
}

}  // namespace

TEST(FollowingDigest, EqualsOnePassOverTheLimitAndTheRestWhateverThePiecesReported) {
    testutil::TempDir dir;
    const auto content = testutil::randomBytes((3u << 20) + 777, 11);
    testutil::writeFile(dir.file("f"), content);
    const InputFile file(dir.file("f"));
    const std::size_t limit = content.size() - 100;
    const std::vector<unsigned char> rest(content.begin() + static_cast<std::ptrdiff_t>(limit), content.end());
    for (const std::size_t piece : {std::size_t{1000}, std::size_t{1} << 20, content.size()}) {
        SCOPED_TRACE(piece);
        FollowingDigest digest(file.descriptor(), limit);
        for (std::size_t at = piece; at < content.size(); at += piece) digest.writtenUpTo(at);
        EXPECT_EQ(digest.finish(rest), sha256Of(content));
    }
}

TEST(FollowingDigest, GivesNothingForBytesThatAreNotThereAndDoesNotWaitWhenGivenUp) {
    testutil::TempDir dir;
    testutil::writeFile(dir.file("short"), testutil::randomBytes(5000, 12));
    const InputFile file(dir.file("short"));
    {
        FollowingDigest digest(file.descriptor(), 8000);
        EXPECT_FALSE(digest.finish({}).has_value());
    }
    // Reported written up to far less than the limit, then dropped: the destructor must not wait for more.
    FollowingDigest abandoned(file.descriptor(), 1u << 30);
    abandoned.writtenUpTo(4096);
}
