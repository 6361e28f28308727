// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/Kdf.h"

#include <openssl/core_names.h>

#include <algorithm>
#include <atomic>

#include "engine/Ports.h"
#include "engine/core/EvpKdf.h"
#include "engine/core/KdfMemory.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"

namespace engine::core {
namespace {

std::atomic<std::uint8_t> gLog2N{kProductionLog2N};
// Before main, so before OpenSSL's first allocation, in every program that derives keys.
const bool gKdfMemoryInstalled = installKdfMemory();

Secret hkdfWithMode(const char* mode, const Secret& key, const unsigned char* salt, std::size_t saltSize,
                    std::string_view info, std::size_t length) {
    std::vector<OSSL_PARAM> params{textParam(OSSL_KDF_PARAM_MODE, mode),
                                   textParam(OSSL_KDF_PARAM_DIGEST, "SHA2-256"),
                                   octetParam(OSSL_KDF_PARAM_KEY, key.data(), key.size()),
                                   octetParam(OSSL_KDF_PARAM_INFO, info.data(), info.size())};
    if (salt) params.push_back(octetParam(OSSL_KDF_PARAM_SALT, salt, saltSize));
    return deriveWithEvpKdf("HKDF", std::move(params), length);
}

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

SecretKey scryptKey(std::string_view password, const unsigned char* salt, std::size_t saltSize,
                    const ScryptParams& params) {
    switch (checkScryptParams(params)) {
        case KdfBound::TooCostly: throw Error(msg::kKdfTooCostly);
        case KdfBound::TooWeak: throw Error(msg::kDamaged);
        case KdfBound::Ok: break;
    }
    return SecretKey(scrypt(password, salt, saltSize, params, SecretKey::kSize));
}

SecretKey hkdfKey(const SecretKey& master, const unsigned char* salt, std::size_t saltSize, const char* label) {
    return SecretKey(hkdf(master, salt, saltSize, label, SecretKey::kSize));
}

Secret scrypt(std::string_view password, const unsigned char* salt, std::size_t saltSize,
              const ScryptParams& params, std::size_t length) {
    std::uint64_t n = std::uint64_t{1} << params.log2N;
    std::uint32_t r = params.r;
    std::uint32_t p = params.p;
    // OpenSSL refuses above 32 MiB unless told: allow what scrypt needs (128 * r * (N + 2 + p) bytes) and a
    // margin, never more.
    std::uint64_t maxMemory = 128 * std::uint64_t{r} * (n + 2) + 128 * std::uint64_t{r} * p + (1u << 20);
    return deriveWithEvpKdf("SCRYPT",
                            {octetParam(OSSL_KDF_PARAM_PASSWORD, password.data(), password.size()),
                             octetParam(OSSL_KDF_PARAM_SALT, salt, saltSize),
                             OSSL_PARAM_construct_uint64(OSSL_KDF_PARAM_SCRYPT_N, &n),
                             OSSL_PARAM_construct_uint32(OSSL_KDF_PARAM_SCRYPT_R, &r),
                             OSSL_PARAM_construct_uint32(OSSL_KDF_PARAM_SCRYPT_P, &p),
                             OSSL_PARAM_construct_uint64(OSSL_KDF_PARAM_SCRYPT_MAXMEM, &maxMemory)},
                            length, KdfCost::Costly);
}

Secret hkdf(const Secret& ikm, const unsigned char* salt, std::size_t saltSize, std::string_view info,
            std::size_t length) {
    return hkdfWithMode("EXTRACT_AND_EXPAND", ikm, salt, saltSize, info, length);
}

Secret expandKeys(const Secret& master, std::string_view info, std::size_t length) {
    return hkdfWithMode("EXPAND_ONLY", master, nullptr, 0, info, length);
}

}  // namespace engine::core
