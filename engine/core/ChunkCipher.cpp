// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/ChunkCipher.h"

#include <array>
#include <climits>

#include "engine/Ports.h"
#include "engine/core/Header.h"
#include "engine/core/Messages.h"

namespace engine::core {
namespace {

std::array<unsigned char, 12> chunkNonce(std::uint64_t index, bool last) {
    std::array<unsigned char, 12> nonce{};
    for (int i = 0; i < 8; ++i) nonce[3 + i] = static_cast<unsigned char>(index >> (56 - 8 * i));
    nonce[11] = last ? 1 : 0;
    return nonce;
}

}  // namespace

ChunkCipher::ChunkCipher(const SecretKey& key, std::span<const unsigned char> aad) : key_(key), aad_(aad) {
    ctx_ = EVP_CIPHER_CTX_new();
    if (!ctx_) throw Error(msg::kCryptoFailure);
}

ChunkCipher::~ChunkCipher() { EVP_CIPHER_CTX_free(ctx_); }

void ChunkCipher::seal(std::uint64_t index, bool last, const unsigned char* in, std::size_t size,
                       unsigned char* out) {
    const auto nonce = chunkNonce(index, last);
    int length = 0;
    bool ok = size <= INT_MAX && EVP_EncryptInit_ex(ctx_, EVP_aes_256_gcm(), nullptr, key_.data(), nonce.data()) == 1 &&
              EVP_EncryptUpdate(ctx_, nullptr, &length, aad_.data(), static_cast<int>(aad_.size())) == 1 &&
              EVP_EncryptUpdate(ctx_, out, &length, in, static_cast<int>(size)) == 1;
    int tail = 0;
    ok = ok && EVP_EncryptFinal_ex(ctx_, out + length, &tail) == 1 &&
         EVP_CIPHER_CTX_ctrl(ctx_, EVP_CTRL_GCM_GET_TAG, kTagSize, out + size) == 1;
    if (!ok) throw Error(msg::kCryptoFailure);
}

bool ChunkCipher::open(std::uint64_t index, bool last, const unsigned char* sealed, std::size_t sealedSize,
                       unsigned char* out) {
    if (sealedSize < kTagSize || sealedSize - kTagSize > INT_MAX) return false;
    const std::size_t size = sealedSize - kTagSize;
    const auto nonce = chunkNonce(index, last);
    // The tag is copied out first because out may overlap the sealed bytes.
    std::array<unsigned char, kTagSize> tag{};
    std::copy(sealed + size, sealed + sealedSize, tag.begin());
    int length = 0;
    int tail = 0;
    return EVP_DecryptInit_ex(ctx_, EVP_aes_256_gcm(), nullptr, key_.data(), nonce.data()) == 1 &&
           EVP_DecryptUpdate(ctx_, nullptr, &length, aad_.data(), static_cast<int>(aad_.size())) == 1 &&
           EVP_DecryptUpdate(ctx_, out, &length, sealed, static_cast<int>(size)) == 1 &&
           EVP_CIPHER_CTX_ctrl(ctx_, EVP_CTRL_GCM_SET_TAG, kTagSize, tag.data()) == 1 &&
           EVP_DecryptFinal_ex(ctx_, out + length, &tail) == 1;
}

}  // namespace engine::core
