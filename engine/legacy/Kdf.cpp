// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/legacy/Kdf.h"

#include <openssl/core_names.h>
#include <openssl/crypto.h>

#include "engine/Ports.h"
#include "engine/core/EvpKdf.h"
#include "engine/core/Messages.h"

namespace engine::legacy {

void requirePbkdf2Cost(std::uint32_t iterations) {
    if (iterations > kPbkdf2MaxIterations) throw Error(msg::kKdfTooCostly);
    if (iterations < kPbkdf2MinIterations) throw Error(msg::kDamaged);
}

void requireScryptCost(const ScryptCost& cost) {
    if (cost.log2N > kScryptMaxLog2N || cost.r > kScryptMaxR || cost.p > kScryptMaxP) throw Error(msg::kKdfTooCostly);
    if (cost.log2N < kScryptMinLog2N || cost.r < 1 || cost.p < 1) throw Error(msg::kDamaged);
    const std::uint64_t nr = (std::uint64_t{1} << cost.log2N) * cost.r;
    if (nr > kScryptMaxNr || nr * cost.p > kScryptMaxNrp) throw Error(msg::kKdfTooCostly);
}

Secret pbkdf2(const std::string& key, const unsigned char* salt, std::size_t saltSize, std::uint32_t iterations,
              Pbkdf2Digest digest, std::size_t length) {
    unsigned int iter = iterations;
    return core::deriveWithEvpKdf(
        "PBKDF2",
        {core::octetParam(OSSL_KDF_PARAM_PASSWORD, key.data(), key.size()),
         core::octetParam(OSSL_KDF_PARAM_SALT, salt, saltSize), OSSL_PARAM_construct_uint(OSSL_KDF_PARAM_ITER, &iter),
         core::textParam(OSSL_KDF_PARAM_DIGEST, digest == Pbkdf2Digest::Sha512 ? "SHA2-512" : "SHA2-256")},
        length, core::KdfCost::Costly);
}

Secret checkedKeys(const Secret& master, std::string_view label, std::size_t keysSize,
                   const unsigned char* storedCheck) {
    Secret keys = expandKeys(master, label, keysSize + kKeyCheckSize);
    if (CRYPTO_memcmp(storedCheck, keys.at(keysSize), kKeyCheckSize) != 0) throw Error(msg::kWrongKey);
    return keys;
}

}  // namespace engine::legacy
