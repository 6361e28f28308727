#include "engine/legacy/Kdf.h"

#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>
#include <openssl/params.h>

#include <vector>

#include "engine/Ports.h"
#include "engine/core/Messages.h"

namespace engine::legacy {
namespace {

void* mutableBytes(const void* bytes) { return const_cast<void*>(bytes); }

Secret derive(const char* algorithm, std::vector<OSSL_PARAM> params, std::size_t length) {
    params.push_back(OSSL_PARAM_construct_end());
    Secret out(length);
    EVP_KDF* kdf = EVP_KDF_fetch(nullptr, algorithm, nullptr);
    EVP_KDF_CTX* ctx = kdf ? EVP_KDF_CTX_new(kdf) : nullptr;
    const bool ok = ctx && EVP_KDF_derive(ctx, out.data(), out.size(), params.data()) == 1;
    EVP_KDF_CTX_free(ctx);
    EVP_KDF_free(kdf);
    if (!ok) throw Error(msg::kCryptoFailure);
    return out;
}

OSSL_PARAM password(const std::string& key) {
    return OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_PASSWORD, mutableBytes(key.data()), key.size());
}

OSSL_PARAM saltParam(const unsigned char* salt, std::size_t size) {
    return OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SALT, mutableBytes(salt), size);
}

}  // namespace

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
    char sha256[] = "SHA2-256";
    char sha512[] = "SHA2-512";
    char* digestName = digest == Pbkdf2Digest::Sha512 ? sha512 : sha256;
    unsigned int iter = iterations;
    return derive("PBKDF2",
                  {password(key), saltParam(salt, saltSize),
                   OSSL_PARAM_construct_uint(OSSL_KDF_PARAM_ITER, &iter),
                   OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digestName, 0)},
                  length);
}

Secret scrypt(const std::string& key, const unsigned char* salt, std::size_t saltSize, const ScryptCost& cost,
              std::size_t length) {
    std::uint64_t n = std::uint64_t{1} << cost.log2N;
    std::uint32_t r = cost.r;
    std::uint32_t p = cost.p;
    // OpenSSL refuses above 32 MiB unless told; the bound was checked by requireScryptCost.
    std::uint64_t maxMemory = 128 * std::uint64_t{r} * (n + 2) + 128 * std::uint64_t{r} * p + (1u << 20);
    return derive("SCRYPT",
                  {password(key), saltParam(salt, saltSize),
                   OSSL_PARAM_construct_uint64(OSSL_KDF_PARAM_SCRYPT_N, &n),
                   OSSL_PARAM_construct_uint32(OSSL_KDF_PARAM_SCRYPT_R, &r),
                   OSSL_PARAM_construct_uint32(OSSL_KDF_PARAM_SCRYPT_P, &p),
                   OSSL_PARAM_construct_uint64(OSSL_KDF_PARAM_SCRYPT_MAXMEM, &maxMemory)},
                  length);
}

Secret expandKeys(const Secret& master, std::string_view label, std::size_t length) {
    char digestName[] = "SHA2-256";
    char mode[] = "EXPAND_ONLY";
    return derive("HKDF",
                  {OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_MODE, mode, 0),
                   OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digestName, 0),
                   OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_KEY, mutableBytes(master.data()), master.size()),
                   OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_INFO, mutableBytes(label.data()), label.size())},
                  length);
}

}  // namespace engine::legacy
