// SPDX-License-Identifier: GPL-3.0-or-later
// Sealing or opening a whole file body chunk by chunk, straight from an InputFile into a ReplacementFile.
// Reading, the cipher and writing overlap (the next batch is read and the previous one written while a
// batch is processed), and a batch's chunks are shared out over `workers` threads. Memory: a few batches,
// whatever the file size. What is written can be hashed behind the writing.
#pragma once

#include <cstdint>
#include <span>

#include "engine/core/FileIO.h"
#include "engine/core/Progress.h"
#include "engine/core/Secret.h"
#include "engine/core/FollowingDigest.h"

namespace engine::core {

struct BodyJob {
    const InputFile& in;
    std::uint64_t inOffset;   // where the body to transform starts in the input
    ReplacementFile& out;
    std::uint64_t outOffset;  // where its transform goes in the output
    const SecretKey& key;
    std::span<const unsigned char> aad;
    std::uint32_t chunkSize;
    unsigned workers;
    Progress& progress;
    std::span<const unsigned char> tail{};  // sealing: bytes sealed after the input's (a small trailer)
    // When set, told how far the output is written after each batch: the fingerprint of a result taken
    // behind the writing, without a pass of its own afterwards.
    FollowingDigest* outputDigest = nullptr;
};

// Seals `plainSize` bytes: the input's, then the tail's; returns the sealed size written.
std::uint64_t sealBody(const BodyJob& job, std::uint64_t plainSize);
// Opens `sealedSize` bytes (checked with ChunkLayout first); throws engine::Error(kDamaged) on the first chunk
// that does not authenticate. Returns the plaintext size written.
std::uint64_t openBody(const BodyJob& job, std::uint64_t sealedSize);

}  // namespace engine::core
