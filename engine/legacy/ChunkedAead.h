// SPDX-License-Identifier: GPL-3.0-or-later
// Chunked AEAD bodies (bases 1.0.6 and 2.0.1.0): the plain text in chunks of a fixed size, each sealed with its
// own 16-byte tag; the last chunk is shorter than the others (possibly empty) and is sealed as the last, so
// that a file cut at a chunk boundary, chunks swapped, or bytes appended fail to authenticate.
#pragma once

#include <openssl/evp.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "engine/core/FileIO.h"

namespace engine::legacy {

inline constexpr std::size_t kAeadTagSize = 16;
inline constexpr std::size_t kAeadNonceSize = 12;
inline constexpr std::uint64_t kMaxChunkCount = std::uint64_t{1} << 32;

using Nonce = std::array<unsigned char, kAeadNonceSize>;

struct ChunkedAeadBody {
    const EVP_CIPHER* cipher;   // 32-byte key, 12-byte nonce, 16-byte tag
    const unsigned char* key;
    std::uint64_t bodyOffset;   // the chunks run from here to the end of the file
    std::uint32_t chunkSize;    // plain bytes in every chunk but the last
    // Nonce and additional authenticated data of chunk `index`; `last` marks the final chunk.
    std::function<void(std::uint64_t index, bool last, Nonce& nonce, std::vector<unsigned char>& aad)> frame;
};

// Both bases begin a chunk's nonce with the header's prefix followed by the 32-bit big-endian chunk index.
void startNonce(Nonce& nonce, const unsigned char* prefix, std::size_t prefixSize, std::uint64_t index);

// Chunks in a body of `bodySize` bytes; throws the damaged-file error when no whole number of chunks fits
// or there are more than kMaxChunkCount.
std::uint64_t chunkCount(std::uint64_t bodySize, std::uint32_t chunkSize);

// Decrypts every chunk into `out` from offset 0; returns the plain length. Throws the damaged-file error at the
// first chunk that fails to authenticate; `out` is then not to be committed.
std::uint64_t decryptChunks(const core::InputFile& in, core::ReplacementFile& out, const ChunkedAeadBody& body);

}  // namespace engine::legacy
