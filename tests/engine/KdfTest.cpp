// The derivations must give exactly what OpenSSL's own scrypt and HKDF give: every existing file depends on it.
#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/Kdf.h"
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
