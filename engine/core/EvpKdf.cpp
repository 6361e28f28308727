// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/EvpKdf.h"

#include <openssl/kdf.h>

#include "engine/Ports.h"
#include "engine/core/Cancel.h"
#include "engine/core/Messages.h"

namespace engine::core {

Secret deriveWithEvpKdf(const char* algorithm, std::vector<OSSL_PARAM> params, std::size_t length) {
    // A derivation cannot be stopped halfway (OpenSSL has no hook for it): a request is honoured on either
    // side of it, and the key derived meanwhile is wiped with `out`.
    stopIfCancelled();
    params.push_back(OSSL_PARAM_construct_end());
    Secret out(length);
    EVP_KDF* kdf = EVP_KDF_fetch(nullptr, algorithm, nullptr);
    EVP_KDF_CTX* ctx = kdf ? EVP_KDF_CTX_new(kdf) : nullptr;
    const bool ok = ctx && EVP_KDF_derive(ctx, out.data(), out.size(), params.data()) == 1;
    EVP_KDF_CTX_free(ctx);
    EVP_KDF_free(kdf);
    if (!ok) throw Error(msg::kCryptoFailure);
    stopIfCancelled();
    return out;
}

// OSSL_PARAM wants non-const pointers even for inputs it only reads.
OSSL_PARAM octetParam(const char* name, const void* bytes, std::size_t size) {
    return OSSL_PARAM_construct_octet_string(name, const_cast<void*>(bytes), size);
}

OSSL_PARAM textParam(const char* name, const char* text) {
    return OSSL_PARAM_construct_utf8_string(name, const_cast<char*>(text), 0);
}

}  // namespace engine::core
