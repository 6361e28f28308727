// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/EvpKdf.h"

#include <openssl/kdf.h>

#include <memory>

#include "engine/Ports.h"
#include "engine/core/Background.h"
#include "engine/core/Cancel.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"

namespace engine::core {
namespace {

// Parameters with bytes of their own, wiped when they go: an abandoned derivation may end after its
// caller's password and salt are gone.
class OwnedParams {
public:
    explicit OwnedParams(const OSSL_PARAM* params) {
        for (const OSSL_PARAM* p = params; p->key; ++p) {
            Secret bytes(p->data_size + 1);  // and a terminating zero, which OpenSSL relies on for names
            if (p->data_size > 0) std::memcpy(bytes.data(), p->data, p->data_size);
            bytes_.push_back(std::move(bytes));
        }
        for (std::size_t i = 0; i < bytes_.size(); ++i) {
            params_.push_back(params[i]);
            params_.back().data = bytes_[i].data();
        }
        params_.push_back(OSSL_PARAM_construct_end());
    }
    const OSSL_PARAM* get() const { return params_.data(); }

private:
    std::vector<Secret> bytes_;
    std::vector<OSSL_PARAM> params_;
};

Secret derive(const char* algorithm, const OSSL_PARAM* params, std::size_t length, KdfCost cost) {
    if (cost == KdfCost::Costly) reachMoment(Moment::KeyDerivation);
    Secret out(length);
    EVP_KDF* kdf = EVP_KDF_fetch(nullptr, algorithm, nullptr);
    EVP_KDF_CTX* ctx = kdf ? EVP_KDF_CTX_new(kdf) : nullptr;
    const bool ok = ctx && EVP_KDF_derive(ctx, out.data(), out.size(), params) == 1;
    EVP_KDF_CTX_free(ctx);
    EVP_KDF_free(kdf);
    if (!ok) throw Error(msg::kCryptoFailure);
    return out;
}

}  // namespace

Secret deriveWithEvpKdf(const char* algorithm, std::vector<OSSL_PARAM> params, std::size_t length, KdfCost cost) {
    stopIfCancelled();
    params.push_back(OSSL_PARAM_construct_end());
    Secret out(0);
    if (cost == KdfCost::Cheap || !CancelScope::lent()) {
        out = derive(algorithm, params.data(), length, cost);
    } else {
        // `algorithm` is one of our literal names: it outlives any derivation.
        auto copy = std::make_shared<const OwnedParams>(params.data());
        auto derived = startInBackground<Secret>([algorithm, copy, length, cost] {
            return derive(algorithm, copy->get(), length, cost);
        });
        out = awaitUnlessStopped(derived);
    }
    stopIfCancelled();  // the key derived meanwhile is wiped with `out`
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
