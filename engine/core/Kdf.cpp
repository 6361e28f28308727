#include "engine/core/Kdf.h"

#include <openssl/evp.h>
#include <openssl/kdf.h>

#include <algorithm>
#include <atomic>

#include "engine/Ports.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"

namespace engine::core {
namespace {

std::atomic<std::uint8_t> gLog2N{kProductionLog2N};

}  // namespace

void setScryptCostForTesting(std::uint8_t log2N) {
    gLog2N = std::clamp(log2N, kMinLog2N, kMaxLog2N);
}

ScryptParams currentScryptParams() {
    return ScryptParams{gLog2N.load(), kScryptR, kScryptP};
}

KdfBound checkScryptParams(const ScryptParams& params) {
    if (params.log2N > kMaxLog2N) return KdfBound::TooCostly;
    if (params.log2N < kMinLog2N) return KdfBound::TooWeak;
    // The format defines r = 8 and p = 1 only; anything else is not a file we wrote.
    if (params.r != kScryptR || params.p != kScryptP) return KdfBound::TooWeak;
    return KdfBound::Ok;
}

SecretKey scryptKey(const std::string& password, const unsigned char* salt, std::size_t saltSize,
                    const ScryptParams& params) {
    switch (checkScryptParams(params)) {
        case KdfBound::TooCostly: throw Error(msg::kKdfTooCostly);
        case KdfBound::TooWeak: throw Error(msg::kDamaged);
        case KdfBound::Ok: break;
    }
    const std::uint64_t n = std::uint64_t{1} << params.log2N;
    // scrypt needs 128 * r * N * p bytes; allow that plus a margin, never more.
    const std::uint64_t maxMemory = 128 * std::uint64_t{params.r} * n * params.p + (1u << 20);
    SecretKey key;
    if (EVP_PBE_scrypt(password.data(), password.size(), salt, saltSize, n, params.r, params.p, maxMemory,
                       key.data(), key.size()) != 1)
        throw Error(msg::kCryptoFailure);
    return key;
}

SecretKey hkdfKey(const SecretKey& master, const unsigned char* salt, std::size_t saltSize, const char* label) {
    EVP_PKEY_CTX* ctx = EVP_PKEY_CTX_new_id(EVP_PKEY_HKDF, nullptr);
    SecretKey key;
    std::size_t length = key.size();
    const auto* info = reinterpret_cast<const unsigned char*>(label);
    const bool ok = ctx && EVP_PKEY_derive_init(ctx) == 1 && EVP_PKEY_CTX_set_hkdf_md(ctx, EVP_sha256()) == 1 &&
                    EVP_PKEY_CTX_set1_hkdf_salt(ctx, salt, static_cast<int>(saltSize)) == 1 &&
                    EVP_PKEY_CTX_set1_hkdf_key(ctx, master.data(), static_cast<int>(master.size())) == 1 &&
                    EVP_PKEY_CTX_add1_hkdf_info(ctx, info, static_cast<int>(std::char_traits<char>::length(label))) == 1 &&
                    EVP_PKEY_derive(ctx, key.data(), &length) == 1 && length == key.size();
    EVP_PKEY_CTX_free(ctx);
    if (!ok) throw Error(msg::kCryptoFailure);
    return key;
}

}  // namespace engine::core
