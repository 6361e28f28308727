// SPDX-License-Identifier: GPL-3.0-or-later
// The derivations must give exactly what OpenSSL's own scrypt and HKDF give: every existing file depends on it.
#include <gtest/gtest.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/Kdf.h"
#include "engine/core/KdfMemory.h"
#include "engine/core/Messages.h"

namespace {

using engine::core::Secret;
using engine::core::SecretKey;

using Bytes = std::vector<unsigned char>;

Bytes bytesOf(const Secret& secret) { return Bytes(secret.data(), secret.data() + secret.size()); }

Bytes pattern(std::size_t size, unsigned char step) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) out[i] = static_cast<unsigned char>(i * step + 1);
    return out;
}

Bytes referenceHkdf(int mode, const Secret& key, const Bytes& salt, const std::string& info, std::size_t length) {
    Bytes out(length);
    EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new_id(EVP_PKEY_HKDF, nullptr);
    const bool ok = ctx && EVP_PKEY_derive_init(ctx) == 1 && EVP_PKEY_CTX_set_hkdf_mode(ctx, mode) == 1 &&
                    EVP_PKEY_CTX_set_hkdf_md(ctx, EVP_sha256()) == 1 &&
                    (salt.empty() || EVP_PKEY_CTX_set1_hkdf_salt(ctx, salt.data(), static_cast<int>(salt.size())) == 1) &&
                    EVP_PKEY_CTX_set1_hkdf_key(ctx, key.data(), static_cast<int>(key.size())) == 1 &&
                    EVP_PKEY_CTX_add1_hkdf_info(ctx, reinterpret_cast<const unsigned char*>(info.data()),
                                                static_cast<int>(info.size())) == 1 &&
                    EVP_PKEY_derive(ctx, out.data(), &length) == 1;
    EVP_PKEY_CTX_free(ctx);
    EXPECT_TRUE(ok);
    return out;
}

TEST(Kdf, ScryptGivesOpenSslsScryptForTheCurrentAndOlderCosts) {
    const std::string password = "heslo Žluťoučký kůň";
    const Bytes salt = pattern(32, 7);
    for (const engine::core::ScryptParams params : {engine::core::ScryptParams{10, 8, 1}, {11, 2, 3}}) {
        Bytes expected(48);
        ASSERT_EQ(EVP_PBE_scrypt(password.data(), password.size(), salt.data(), salt.size(),
                                 std::uint64_t{1} << params.log2N, params.r, params.p, 64u << 20, expected.data(),
                                 expected.size()),
                  1);
        EXPECT_EQ(bytesOf(engine::core::scrypt(password, salt.data(), salt.size(), params, 48)), expected);
        if (params.r == engine::core::kScryptR && params.p == engine::core::kScryptP) {
            const SecretKey key = engine::core::scryptKey(password, salt.data(), 16, params);
            expected.resize(32);
            ASSERT_EQ(EVP_PBE_scrypt(password.data(), password.size(), salt.data(), 16, std::uint64_t{1} << params.log2N,
                                     params.r, params.p, 64u << 20, expected.data(), expected.size()),
                      1);
            EXPECT_EQ(bytesOf(key), expected);
        }
    }
}

// The published scrypt vector (N = 2^14, r = 8, p = 1): its 16 MiB work area is one of the engine's own
// large blocks, so a fault in how those are mapped shows here and not only as a slower derivation.
TEST(Kdf, ScryptGivesThePublishedVectorThroughTheLargeBlockMemory) {
    const std::string salt = "SodiumChloride";
    const Secret out = engine::core::scrypt("pleaseletmein", reinterpret_cast<const unsigned char*>(salt.data()),
                                            salt.size(), engine::core::ScryptParams{14, 8, 1}, 64);
    const Bytes expected{0x70, 0x23, 0xbd, 0xcb, 0x3a, 0xfd, 0x73, 0x48, 0x46, 0x1c, 0x06, 0xcd, 0x81, 0xfd, 0x38, 0xeb,
                         0xfd, 0xa8, 0xfb, 0xba, 0x90, 0x4f, 0x8e, 0x3e, 0xa9, 0xb5, 0x43, 0xf6, 0x54, 0x5d, 0xa1, 0xf2,
                         0xd5, 0x43, 0x29, 0x55, 0x61, 0x3f, 0x0f, 0xcf, 0x62, 0xd4, 0x97, 0x05, 0x24, 0x2a, 0x9a, 0xf9,
                         0xe6, 0x1e, 0x85, 0xdc, 0x0d, 0x65, 0x1e, 0x40, 0xdf, 0xcf, 0x01, 0x7b, 0x45, 0x57, 0x58, 0x87};
    EXPECT_EQ(bytesOf(out), expected);
}

// OpenSSL's allocations of every size keep their bytes through realloc across the large-block threshold,
// also when more large blocks are alive at once than have their own mapping.
TEST(Kdf, OpenSslAllocationsOfEverySizeKeepTheirBytes) {
    const std::size_t large = engine::core::kLargeBlock;
    std::vector<unsigned char*> blocks;
    for (int i = 0; i < 12; ++i) {
        auto* block = static_cast<unsigned char*>(OPENSSL_malloc(large + 4096 * i));
        ASSERT_NE(block, nullptr);
        std::memset(block, i + 1, large);
        blocks.push_back(block);
    }
    auto* small = static_cast<unsigned char*>(OPENSSL_malloc(100));
    ASSERT_NE(small, nullptr);
    std::memset(small, 0x5a, 100);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        auto* grown = static_cast<unsigned char*>(OPENSSL_realloc(blocks[i], 2 * large));
        ASSERT_NE(grown, nullptr);
        EXPECT_EQ(grown[0], i + 1);
        EXPECT_EQ(grown[large - 1], i + 1);
        auto* shrunk = static_cast<unsigned char*>(OPENSSL_realloc(grown, 64));
        ASSERT_NE(shrunk, nullptr);
        EXPECT_EQ(shrunk[63], i + 1);
        blocks[i] = shrunk;
    }
    small = static_cast<unsigned char*>(OPENSSL_realloc(small, large));
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(small[99], 0x5a);
    OPENSSL_free(small);
    for (unsigned char* block : blocks) OPENSSL_free(block);
}

TEST(Kdf, HkdfExtractAndExpandOnlyGiveOpenSslsHkdf) {
    SecretKey master;
    const Bytes fill = pattern(SecretKey::kSize, 13);
    std::memcpy(master.data(), fill.data(), fill.size());
    const Bytes salt = pattern(16, 5);
    EXPECT_EQ(bytesOf(engine::core::hkdfKey(master, salt.data(), salt.size(), "MVX203 stream")),
              referenceHkdf(EVP_PKEY_HKDEF_MODE_EXTRACT_AND_EXPAND, master, salt, "MVX203 stream", 32));
    EXPECT_EQ(bytesOf(engine::core::expandKeys(master, "MVX2010 keys", 48)),
              referenceHkdf(EVP_PKEY_HKDEF_MODE_EXPAND_ONLY, master, {}, "MVX2010 keys", 48));
}

TEST(Kdf, CurrentBaseRefusesCostsOutsideItsBoundsBeforeDeriving) {
    const unsigned char salt[16] = {};
    const auto refusal = [&](engine::core::ScryptParams params) {
        try {
            engine::core::scryptKey("k", salt, sizeof salt, params);
        } catch (const engine::Error& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_EQ(refusal({21, 8, 1}), engine::msg::kKdfTooCostly);
    EXPECT_EQ(refusal({9, 8, 1}), engine::msg::kDamaged);
    EXPECT_EQ(refusal({10, 4, 1}), engine::msg::kDamaged);
    EXPECT_EQ(refusal({10, 8, 2}), engine::msg::kDamaged);
}

TEST(Secret, MoveAndCopyKeepTheBytes) {
    Secret original(40);
    const Bytes fill = pattern(40, 3);
    std::memcpy(original.data(), fill.data(), fill.size());
    Secret copy(1);
    copy = original;
    Secret moved(2);
    moved = std::move(original);
    EXPECT_EQ(bytesOf(copy), fill);
    EXPECT_EQ(bytesOf(moved), fill);
    EXPECT_THROW(SecretKey{Secret(31)}, engine::Error);
}

}  // namespace
