// SPDX-License-Identifier: GPL-3.0-or-later
// Base 2.0.1.0: AES-256-GCM in chunks, keys from scrypt; the header carries the plain length.
// Layout: docs/FORMAT.md.
#include <openssl/evp.h>

#include "engine/Ports.h"
#include "engine/VQ201.h"
#include "engine/core/Messages.h"
#include "engine/legacy/BigEndian.h"
#include "engine/legacy/ChunkedAead.h"
#include "engine/legacy/InPlace.h"
#include "engine/legacy/Kdf.h"

namespace VQ201 {
namespace {

using namespace engine::legacy;

constexpr std::size_t kLog2NAt = 8;
constexpr std::size_t kRAt = 9;
constexpr std::size_t kPAt = 10;
constexpr std::size_t kLog2ChunkSizeAt = 11;
constexpr std::size_t kSaltAt = 12;
constexpr std::size_t kSaltSize = 32;
constexpr std::size_t kPlainSizeAt = 44;
constexpr std::size_t kNoncePrefixAt = 52;
constexpr std::size_t kNoncePrefixSize = 7;
constexpr std::size_t kReservedAt = 59;
constexpr std::size_t kKeyCheckAt = 60;
constexpr std::size_t kHeaderSize = 76;
constexpr unsigned kMinLog2ChunkSize = 12;
constexpr unsigned kMaxLog2ChunkSize = 22;

class Base2010 : public Decryption {
public:
    Base2010(const engine::core::InputFile& in, const std::string& key) : in_(in) {
        if (!in.readExactAt(header_, kHeaderSize, 0)) throw engine::Error(engine::msg::kDamaged);
        requireConsistentLayout();
        const ScryptCost cost{header_[kLog2NAt], header_[kRAt], header_[kPAt]};
        requireScryptCost(cost);
        const Secret master = scrypt(key, header_ + kSaltAt, kSaltSize, cost, 32);
        keys_ = checkedKeys(master, "MVX2010 keys", 32, header_ + kKeyCheckAt);
    }

    std::uint64_t largestPlainSize() const override { return plainSize_; }

    std::uint64_t decryptInto(engine::core::ReplacementFile& out) override {
        const auto frame = [this](std::uint64_t index, bool last, Nonce& nonce, std::vector<unsigned char>& aad) {
            startNonce(nonce, header_ + kNoncePrefixAt, kNoncePrefixSize, index);
            nonce[kAeadNonceSize - 1] = last ? 1 : 0;
            aad.assign(header_, header_ + kHeaderSize);
        };
        return decryptChunks(in_, out, {EVP_aes_256_gcm(), keys_.data(), kHeaderSize, chunkSize_, frame});
    }

private:
    // The header fixes the file's exact size; anything else is cut, extended or not ours.
    void requireConsistentLayout() {
        const unsigned log2ChunkSize = header_[kLog2ChunkSizeAt];
        if (log2ChunkSize < kMinLog2ChunkSize || log2ChunkSize > kMaxLog2ChunkSize || header_[kReservedAt] != 0)
            throw engine::Error(engine::msg::kDamaged);
        chunkSize_ = std::uint32_t{1} << log2ChunkSize;
        plainSize_ = readBigEndian<std::uint64_t>(header_ + kPlainSizeAt);
        const std::uint64_t body = in_.size() - kHeaderSize;
        if (plainSize_ > body) throw engine::Error(engine::msg::kDamaged);
        const std::uint64_t chunks = plainSize_ / chunkSize_ + 1;
        if (chunks > kMaxChunkCount || body - plainSize_ != chunks * kAeadTagSize)
            throw engine::Error(engine::msg::kDamaged);
    }

    const engine::core::InputFile& in_;
    unsigned char header_[kHeaderSize] = {};
    std::uint32_t chunkSize_ = 0;
    std::uint64_t plainSize_ = 0;
    Secret keys_{0};
};

}  // namespace

void desifrovat(const std::string& path, const std::string& key) {
    decryptInPlace(path, key, {engine::core::kMagicBase2010, kHeaderSize + kAeadTagSize, openAs<Base2010>});
}

}  // namespace VQ201
