// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/legacy/ChunkedAead.h"

#include <openssl/crypto.h>

#include <cstring>

#include "engine/core/Cancel.h"
#include "engine/core/Evp.h"
#include "engine/legacy/BigEndian.h"

namespace engine::legacy {

using core::CipherContext;
using core::newCipherContext;
using core::requireOk;

void startNonce(Nonce& nonce, const unsigned char* prefix, std::size_t prefixSize, std::uint64_t index) {
    std::memcpy(nonce.data(), prefix, prefixSize);
    writeBigEndian(static_cast<std::uint32_t>(index), nonce.data() + prefixSize);
}

std::uint64_t chunkCount(std::uint64_t bodySize, std::uint32_t chunkSize) {
    if (bodySize < kAeadTagSize) throw Error(msg::kDamaged);
    const std::uint64_t sealed = std::uint64_t{chunkSize} + kAeadTagSize;
    // Every chunk but the last is full; the last holds 0 .. chunkSize - 1 plain bytes.
    if ((bodySize - kAeadTagSize) % sealed >= chunkSize) throw Error(msg::kDamaged);
    const std::uint64_t count = (bodySize - kAeadTagSize) / sealed + 1;
    // Both bases number chunks with 32 bits of the nonce.
    if (count > kMaxChunkCount) throw Error(msg::kDamaged);
    return count;
}

std::uint64_t decryptChunks(const core::InputFile& in, core::ReplacementFile& out, const ChunkedAeadBody& body) {
    const std::uint64_t bodySize = in.size() - body.bodyOffset;
    const std::uint64_t count = chunkCount(bodySize, body.chunkSize);
    const std::uint64_t sealedSize = std::uint64_t{body.chunkSize} + kAeadTagSize;

    CipherContext ctx = newCipherContext();
    requireOk(EVP_DecryptInit_ex(ctx.get(), body.cipher, nullptr, nullptr, nullptr));
    std::vector<unsigned char> sealed(sealedSize);
    std::vector<unsigned char> plain(body.chunkSize + EVP_MAX_BLOCK_LENGTH);
    std::vector<unsigned char> aad;
    Nonce nonce{};
    std::uint64_t written = 0;
    for (std::uint64_t index = 0; index < count; ++index) {
        core::stopIfCancelled();
        const bool last = index + 1 == count;
        const std::uint64_t offset = body.bodyOffset + index * sealedSize;
        const auto size = static_cast<std::size_t>(last ? in.size() - offset : sealedSize);
        const std::size_t cipherSize = size - kAeadTagSize;
        if (!in.readExactAt(sealed.data(), size, offset)) throw Error(msg::kCannotRead);
        body.frame(index, last, nonce, aad);

        requireOk(EVP_DecryptInit_ex(ctx.get(), nullptr, nullptr, body.key, nonce.data()));
        int produced = 0;
        if (!aad.empty()) requireOk(EVP_DecryptUpdate(ctx.get(), nullptr, &produced, aad.data(), static_cast<int>(aad.size())));
        requireOk(EVP_DecryptUpdate(ctx.get(), plain.data(), &produced, sealed.data(), static_cast<int>(cipherSize)));
        requireOk(EVP_CIPHER_CTX_ctrl(ctx.get(), EVP_CTRL_AEAD_SET_TAG, static_cast<int>(kAeadTagSize),
                                      sealed.data() + cipherSize));
        int tail = 0;
        if (EVP_DecryptFinal_ex(ctx.get(), plain.data() + produced, &tail) != 1) throw Error(msg::kDamaged);
        const auto plainSize = static_cast<std::size_t>(produced + tail);
        out.writeAt(plain.data(), plainSize, written);
        written += plainSize;
    }
    OPENSSL_cleanse(plain.data(), plain.size());
    return written;
}

}  // namespace engine::legacy
