// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/legacy/EncryptThenMac.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>

#include <algorithm>
#include <vector>

#include "engine/core/Cancel.h"
#include "engine/core/Evp.h"
#include "engine/legacy/BigEndian.h"
#include "engine/legacy/Kdf.h"

namespace engine::legacy {

using core::CipherContext;
using core::newCipherContext;
using core::requireOk;
namespace {

constexpr std::size_t kBlockOfWork = 1 << 20;

class Hmac {
public:
    explicit Hmac(const unsigned char* key) {
        mac_ = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
        ctx_ = mac_ ? EVP_MAC_CTX_new(mac_) : nullptr;
        char digest[] = "SHA2-256";
        const OSSL_PARAM params[] = {OSSL_PARAM_construct_utf8_string(OSSL_MAC_PARAM_DIGEST, digest, 0),
                                     OSSL_PARAM_construct_end()};
        if (!ctx_ || EVP_MAC_init(ctx_, key, 32, params) != 1) {
            release();
            throw Error(msg::kCryptoFailure);
        }
    }
    ~Hmac() { release(); }
    Hmac(const Hmac&) = delete;
    Hmac& operator=(const Hmac&) = delete;

    void update(const unsigned char* data, std::size_t size) { requireOk(EVP_MAC_update(ctx_, data, size)); }
    void finish(unsigned char (&tag)[kHmacSize]) {
        std::size_t length = 0;
        requireOk(EVP_MAC_final(ctx_, tag, &length, kHmacSize));
    }

private:
    void release() {
        EVP_MAC_CTX_free(ctx_);
        EVP_MAC_free(mac_);
    }
    EVP_MAC* mac_ = nullptr;
    EVP_MAC_CTX* ctx_ = nullptr;
};

}  // namespace

std::uint64_t decryptEncryptThenMac(const core::InputFile& in, core::ReplacementFile& out,
                                    const EncryptThenMacBody& body) {
    const std::uint64_t cipherEnd = in.size() - kHmacSize;
    Hmac hmac(body.macKey);
    std::vector<unsigned char> header(body.cipherBegin);
    if (!in.readExactAt(header.data(), header.size(), 0)) throw Error(msg::kCannotRead);
    hmac.update(header.data(), header.size());

    CipherContext ctx = newCipherContext();
    requireOk(EVP_DecryptInit_ex(ctx.get(), body.cipher, nullptr, body.encKey, body.iv));
    std::vector<unsigned char> cipherText(kBlockOfWork);
    std::vector<unsigned char> plain(kBlockOfWork + EVP_MAX_BLOCK_LENGTH);
    std::uint64_t written = 0;
    for (std::uint64_t offset = body.cipherBegin; offset < cipherEnd;) {
        core::stopIfCancelled();
        const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(kBlockOfWork, cipherEnd - offset));
        if (!in.readExactAt(cipherText.data(), count, offset)) throw Error(msg::kCannotRead);
        hmac.update(cipherText.data(), count);
        int plainCount = 0;
        requireOk(EVP_DecryptUpdate(ctx.get(), plain.data(), &plainCount, cipherText.data(), static_cast<int>(count)));
        out.writeAt(plain.data(), static_cast<std::size_t>(plainCount), written);
        written += static_cast<std::size_t>(plainCount);
        offset += count;
    }
    int lastCount = 0;
    // The padding is judged only after the tag: a forged file learns nothing from which check failed.
    const bool paddingOk = EVP_DecryptFinal_ex(ctx.get(), plain.data(), &lastCount) == 1;

    unsigned char computed[kHmacSize];
    unsigned char stored[kHmacSize];
    hmac.finish(computed);
    if (!in.readExactAt(stored, kHmacSize, cipherEnd)) throw Error(msg::kCannotRead);
    if (CRYPTO_memcmp(computed, stored, kHmacSize) != 0 || !paddingOk) throw Error(msg::kDamaged);
    out.writeAt(plain.data(), static_cast<std::size_t>(lastCount), written);
    OPENSSL_cleanse(plain.data(), plain.size());
    return written + static_cast<std::size_t>(lastCount);
}

namespace {

constexpr std::size_t kSaltSize = 16;
constexpr std::size_t kKeySize = 32;

class EncryptThenMacFile : public Decryption {
public:
    EncryptThenMacFile(const core::InputFile& in, const std::string& key, const EncryptThenMacLayout& layout)
        : in_(in), layout_(layout), header_(layout.headerSize) {
        if (!in.readExactAt(header_.data(), header_.size(), 0)) throw Error(msg::kDamaged);
        if (!layout.cipherSizeFits(header_.data(), largestPlainSize())) throw Error(msg::kDamaged);
        const auto iterations = readBigEndian<std::uint32_t>(header_.data() + layout.iterationsAt);
        requirePbkdf2Cost(iterations);
        const Secret master =
            pbkdf2(key, header_.data() + layout.saltAt, kSaltSize, iterations, Pbkdf2Digest::Sha256, kKeySize);
        keys_ = checkedKeys(master, layout.keyLabel, 2 * kKeySize, header_.data() + layout.keyCheckAt);
    }

    std::uint64_t largestPlainSize() const override { return in_.size() - layout_.headerSize - kHmacSize; }

    std::uint64_t decryptInto(core::ReplacementFile& out) override {
        return decryptEncryptThenMac(in_, out,
                                     {layout_.cipher(), keys_.at(0), header_.data() + layout_.ivAt,
                                      keys_.at(kKeySize), layout_.headerSize});
    }

private:
    const core::InputFile& in_;
    const EncryptThenMacLayout& layout_;
    std::vector<unsigned char> header_;
    Secret keys_{0};
};

}  // namespace

std::unique_ptr<Decryption> openEncryptThenMac(const core::InputFile& in, const std::string& key,
                                               const EncryptThenMacLayout& layout) {
    return std::make_unique<EncryptThenMacFile>(in, key, layout);
}

}  // namespace engine::legacy
