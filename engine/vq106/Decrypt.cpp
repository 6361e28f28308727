// SPDX-License-Identifier: GPL-3.0-or-later
// Base 1.0.6: ChaCha20-Poly1305 in chunks, keys from PBKDF2-HMAC-SHA512. Layout: docs/FORMAT.md.
#include "engine/VQ106.h"

#include <openssl/evp.h>

#include "engine/Ports.h"
#include "engine/core/Messages.h"
#include "engine/legacy/BigEndian.h"
#include "engine/legacy/ChunkedAead.h"
#include "engine/legacy/InPlace.h"
#include "engine/legacy/Kdf.h"

namespace VQ106 {
namespace {

using namespace engine::legacy;

constexpr std::size_t kIterationsAt = 8;
constexpr std::size_t kSaltAt = 12;
constexpr std::size_t kSaltSize = 16;
constexpr std::size_t kChunkSizeAt = 28;
constexpr std::size_t kNoncePrefixAt = 32;
constexpr std::size_t kNoncePrefixSize = 8;
constexpr std::size_t kKeyCheckAt = 40;
constexpr std::size_t kHeaderSize = 56;
constexpr std::uint32_t kMinChunkSize = 4096;
constexpr std::uint32_t kMaxChunkSize = 4u << 20;

class Base106 : public Decryption {
public:
    Base106(const engine::core::InputFile& in, const std::string& key) : in_(in) {
        if (!in.readExactAt(header_, kHeaderSize, 0)) throw engine::Error(engine::msg::kDamaged);
        chunkSize_ = readBigEndian<std::uint32_t>(header_ + kChunkSizeAt);
        if (chunkSize_ < kMinChunkSize || chunkSize_ > kMaxChunkSize) throw engine::Error(engine::msg::kDamaged);
        chunkCount(in.size() - kHeaderSize, chunkSize_);  // refuses a body no chunk layout fits, before the KDF
        const auto iterations = readBigEndian<std::uint32_t>(header_ + kIterationsAt);
        requirePbkdf2Cost(iterations);
        const Secret master = pbkdf2(key, header_ + kSaltAt, kSaltSize, iterations, Pbkdf2Digest::Sha512, 32);
        keys_ = checkedKeys(master, "MVX106 keys", 32, header_ + kKeyCheckAt);
    }

    std::uint64_t largestPlainSize() const override { return in_.size() - kHeaderSize; }

    std::uint64_t decryptInto(engine::core::ReplacementFile& out) override {
        const auto frame = [this](std::uint64_t index, bool last, Nonce& nonce, std::vector<unsigned char>& aad) {
            startNonce(nonce, header_ + kNoncePrefixAt, kNoncePrefixSize, index);
            aad.assign(header_, header_ + kHeaderSize);
            aad.push_back(last ? 1 : 0);
        };
        return decryptChunks(in_, out, {EVP_chacha20_poly1305(), keys_.data(), kHeaderSize, chunkSize_, frame});
    }

private:
    const engine::core::InputFile& in_;
    unsigned char header_[kHeaderSize] = {};
    std::uint32_t chunkSize_ = 0;
    Secret keys_{0};
};

}  // namespace

void desifrovat(const std::string& path, const std::string& key) {
    decryptInPlace(path, key, {engine::core::kMagicBase106, kHeaderSize + kAeadTagSize, openAs<Base106>});
}

}  // namespace VQ106
