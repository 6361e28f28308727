// SPDX-License-Identifier: GPL-3.0-or-later
// AES-256-GCM over one chunk of a stream, in the STREAM manner: the nonce is the chunk's index and a flag
// that marks the last chunk, so chunks cannot be reordered, dropped, or the stream cut short unnoticed.
// The associated data (the stream's header) binds every chunk to its header.
//
//   nonce = 00 00 00 || index (8 bytes, big-endian) || last (01 for the last chunk, else 00)
#pragma once

#include <openssl/evp.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/core/Secret.h"

namespace engine::core {

class ChunkCipher {
public:
    ChunkCipher(const SecretKey& key, std::span<const unsigned char> aad);
    ~ChunkCipher();
    ChunkCipher(const ChunkCipher&) = delete;
    ChunkCipher& operator=(const ChunkCipher&) = delete;

    // Writes size + kTagSize bytes to out (out may equal in).
    void seal(std::uint64_t index, bool last, const unsigned char* in, std::size_t size, unsigned char* out);
    // `sealed` includes the tag; writes sealedSize - kTagSize bytes to out. False when the chunk does not
    // authenticate at this index with this flag.
    bool open(std::uint64_t index, bool last, const unsigned char* sealed, std::size_t sealedSize,
              unsigned char* out);

private:
    EVP_CIPHER_CTX* ctx_ = nullptr;
    SecretKey key_;
    std::span<const unsigned char> aad_;
};

}  // namespace engine::core
