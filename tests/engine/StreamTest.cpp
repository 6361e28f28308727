// SPDX-License-Identifier: GPL-3.0-or-later
// The streaming AEAD that packages build on: any split of the input gives the same stream, and the opener
// refuses cut, extended, reordered and foreign streams.
#include <gtest/gtest.h>

#include <array>
#include <atomic>

#include "engine/Ports.h"
#include "engine/core/ChunkedFile.h"
#include "engine/core/Keys.h"
#include "engine/core/Stream.h"
#include "engine/core/TestHooks.h"
#include "engine/core/WorkerPool.h"
#include "tests/engine/TempDir.h"

using namespace engine::core;

namespace {

constexpr std::uint32_t kChunk = 4096;

struct Sealed {
    Header::Bytes header;
    std::vector<unsigned char> body;
};

SecretKey testKey(unsigned char fill) {
    SecretKey key;
    std::fill(key.data(), key.data() + key.size(), fill);
    return key;
}

std::vector<unsigned char> sealStream(const std::vector<unsigned char>& plain, std::size_t piece,
                                const std::array<unsigned char, 4>& aad = {1, 2, 3, 4}) {
    std::vector<unsigned char> out;
    StreamSealer sealer(testKey(7), aad, kChunk, [&](const unsigned char* d, std::size_t n) { out.insert(out.end(), d, d + n); });
    for (std::size_t at = 0; at < plain.size(); at += piece)
        sealer.write(plain.data() + at, std::min(piece, plain.size() - at));
    sealer.finish();
    return out;
}

std::vector<unsigned char> openStream(const std::vector<unsigned char>& sealed, std::size_t piece,
                                const std::array<unsigned char, 4>& aad = {1, 2, 3, 4}, unsigned char key = 7) {
    std::vector<unsigned char> out;
    StreamOpener opener(testKey(key), aad, kChunk, [&](const unsigned char* d, std::size_t n) { out.insert(out.end(), d, d + n); });
    for (std::size_t at = 0; at < sealed.size(); at += piece)
        opener.write(sealed.data() + at, std::min(piece, sealed.size() - at));
    opener.finish();
    return out;
}

}  // namespace

TEST(Stream, RoundTripsForEverySizeAndEverySplit) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{kChunk - 1}, std::size_t{kChunk},
                                   std::size_t{kChunk + 1}, std::size_t{7 * kChunk}}) {
        SCOPED_TRACE(size);
        const auto plain = testutil::randomBytes(size, 3);
        const auto sealed = sealStream(plain, 1000);
        // Pieces shorter than a chunk, exactly one, and longer (whole chunks are then taken where they lie).
        for (const std::size_t piece : {std::size_t{4096}, std::size_t{3 * kChunk + 5}, size + 1})
            EXPECT_EQ(sealed, sealStream(plain, piece)) << piece;
        EXPECT_EQ(sealed.size(), size + 16 * std::max<std::size_t>(1, (size + kChunk - 1) / kChunk));
        for (const std::size_t piece : {std::size_t{333}, std::size_t{kChunk + 16}, std::size_t{2 * (kChunk + 16) + 1},
                                        sealed.size() + 1})
            EXPECT_EQ(openStream(sealed, piece), plain) << piece;
    }
}

TEST(Stream, CutExtendedReorderedOrForeignStreamsAreRefused) {
    const auto plain = testutil::randomBytes(3 * kChunk, 4);
    const auto sealed = sealStream(plain, 5000);
    const std::size_t stride = kChunk + 16;
    auto extended = sealed;
    extended.push_back(0);
    auto swapped = sealed;
    std::swap_ranges(swapped.begin(), swapped.begin() + stride, swapped.begin() + stride);
    for (const std::size_t piece : {std::size_t{999}, sealed.size() + 1}) {
        SCOPED_TRACE(piece);
        EXPECT_THROW(openStream({sealed.begin(), sealed.begin() + 2 * stride}, piece), engine::Error);
        EXPECT_THROW(openStream({sealed.begin(), sealed.end() - 1}, piece), engine::Error);
        EXPECT_THROW(openStream(extended, piece), engine::Error);
        EXPECT_THROW(openStream(swapped, piece), engine::Error);
        EXPECT_THROW(openStream(sealed, piece, {1, 2, 3, 5}), engine::Error);  // another header
        EXPECT_THROW(openStream(sealed, piece, {1, 2, 3, 4}, 8), engine::Error);  // another key
    }
    EXPECT_THROW(openStream({}, 1), engine::Error);
}

TEST(HeaderMac, DetectsAWrongPasswordAndAnyChangedField) {
    setScryptCostForTesting(10);
    Header header = newHeader(kMagicPackage, kChunk);
    const FileKeys keys = deriveFileKeys("heslo", header);
    sealHeader(header, keys);
    EXPECT_TRUE(headerMacMatches(header, deriveFileKeys("heslo", header)));
    EXPECT_FALSE(headerMacMatches(header, deriveFileKeys("heslO", header)));
    Header changed = header;
    changed.chunkSize *= 2;
    EXPECT_FALSE(headerMacMatches(changed, keys));

    Header parsed;
    const auto bytes = header.serialize();
    ASSERT_EQ(parseHeader(bytes.data(), bytes.size(), {kMagicPackage}, parsed), HeaderStatus::Ok);
    EXPECT_TRUE(headerMacMatches(parsed, keys));
    EXPECT_EQ(parseHeader(bytes.data(), bytes.size(), {kMagicNormal}, parsed), HeaderStatus::WrongMagic);
}

namespace {

struct NoBar : engine::ProgressBar {
    void setPosition(int) override {}
};

// The whole-file pipeline with `workers` threads, from one file into another.
std::vector<unsigned char> runBody(bool sealing, const std::vector<unsigned char>& input, unsigned workers) {
    testutil::TempDir dir;
    const auto from = dir.file("in"), to = dir.file("out");
    testutil::writeFile(from, input);
    testutil::writeFile(to, {});
    const std::array<unsigned char, 4> aad{1, 2, 3, 4};
    const SecretKey key = testKey(7);
    {
        InputFile in(from);
        const engine::core::Folder folder(dir.path());
        ReplacementFile out(folder, "out", input.size() + 1024);
        NoBar bar;
        Progress progress(bar, input.size());
        const BodyJob job{in, 0, out, 0, key, aad, kChunk, workers, progress};
        out.commit(sealing ? sealBody(job, input.size()) : openBody(job, input.size()));
    }  // Windows lets others read the result only once the engine has let go of it
    return testutil::readFile(to);
}

}  // namespace

TEST(ChunkedFile, ParallelPipelineWritesExactlyTheStreamAndReadsItBack) {
    // Enough chunks for several batches, so that reading, the workers and writing overlap.
    const auto plain = testutil::randomBytes(3000 * kChunk + 123, 5);
    const auto streamed = sealStream(plain, 70000);
    for (const unsigned workers : {1u, 3u}) {
        SCOPED_TRACE(workers);
        EXPECT_EQ(runBody(true, plain, workers), streamed);
        EXPECT_EQ(runBody(false, streamed, workers), plain);
    }
    auto damaged = streamed;
    damaged[2500 * (kChunk + 16)] ^= 1;
    EXPECT_THROW(runBody(false, damaged, 3), engine::Error);
}

TEST(WorkerPool, RunsEveryIndexExactlyOnceOverManyBatches) {
    WorkerPool pool(3);
    for (const std::uint64_t count : {1u, 2u, 7u, 1000u}) {
        std::vector<std::atomic<int>> hits(count);
        std::atomic<bool> workerInRange{true};
        for (int round = 0; round < 20; ++round)
            pool.run(count, [&](unsigned worker, std::uint64_t i) {
                if (worker > 3) workerInRange = false;
                ++hits[i];
            });
        for (const auto& h : hits) EXPECT_EQ(h.load(), 20);
        EXPECT_TRUE(workerInRange);
    }
}
