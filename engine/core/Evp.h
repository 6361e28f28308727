// SPDX-License-Identifier: GPL-3.0-or-later
// Owning handles for OpenSSL cipher contexts; freeing a context also wipes its key schedule.
#pragma once

#include <openssl/evp.h>

#include <memory>

#include "engine/Ports.h"
#include "engine/core/Messages.h"

namespace engine::core {

struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree>;

inline CipherContext newCipherContext() {
    CipherContext ctx(EVP_CIPHER_CTX_new());
    if (!ctx) throw Error(msg::kCryptoFailure);
    return ctx;
}

inline void requireOk(int rc) {
    if (rc != 1) throw Error(msg::kCryptoFailure);
}

}  // namespace engine::core
