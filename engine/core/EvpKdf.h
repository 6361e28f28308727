// SPDX-License-Identifier: GPL-3.0-or-later
// One way to run an OpenSSL key derivation by name, for every derivation the engine knows.
#pragma once

#include <openssl/params.h>

#include <cstddef>
#include <vector>

#include "engine/core/Secret.h"

namespace engine::core {

// Runs the EVP_KDF `algorithm` with `params` (no end marker needed) into `length` bytes.
// Throws engine::Error when OpenSSL fails.
Secret deriveWithEvpKdf(const char* algorithm, std::vector<OSSL_PARAM> params, std::size_t length);

// Input parameters; they point into the caller's bytes and text, which must outlive the derivation.
OSSL_PARAM octetParam(const char* name, const void* bytes, std::size_t size);
OSSL_PARAM textParam(const char* name, const char* text);

}  // namespace engine::core
