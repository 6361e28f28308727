// SPDX-License-Identifier: GPL-3.0-or-later
// One way to run an OpenSSL key derivation by name, for every derivation the engine knows.
#pragma once

#include <openssl/params.h>

#include <cstddef>
#include <vector>

#include "engine/core/Secret.h"

namespace engine::core {

// Password stretching takes a third of a second at our own cost and seconds at the highest an older file may ask
// for, and OpenSSL cannot stop it halfway: where a stop can be asked for (engine::CancelScope) it runs on a
// thread of its own, with copies of its parameters, and a stop ends the wait for it at once.
enum class KdfCost { Cheap, Costly };

// Runs the EVP_KDF `algorithm` with `params` (no end marker needed) into `length` bytes.
// Throws engine::Error when OpenSSL fails, Cancelled when its caller asked to stop.
Secret deriveWithEvpKdf(const char* algorithm, std::vector<OSSL_PARAM> params, std::size_t length,
                        KdfCost cost = KdfCost::Cheap);

// Input parameters; they point into the caller's bytes and text, which must outlive the derivation.
OSSL_PARAM octetParam(const char* name, const void* bytes, std::size_t size);
OSSL_PARAM textParam(const char* name, const char* text);

}  // namespace engine::core
