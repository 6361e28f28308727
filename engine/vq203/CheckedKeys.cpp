// SPDX-License-Identifier: GPL-3.0-or-later
// The keys a successful passcheck derived, kept for the decryption that follows it in the same handler, so
// that the keyed decryption runs the expensive KDF once instead of twice. One slot, used once, wiped on use
// and at the latest after a few seconds; it is taken only for the same file, the same header and the same
// key text.
#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <chrono>
#include <mutex>
#include <optional>

#include "engine/core/Sha256.h"
#include "engine/vq203/Method.h"

namespace VQ203::detail {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kLifetime = std::chrono::seconds(10);

struct Slot {
    std::string path;
    engine::core::Header::Bytes header{};
    engine::core::SecretKey keyDigest;  // SHA-256 of the key text and the header: tells the key without keeping it
    engine::core::FileKeys keys;
    Clock::time_point until;
};

std::mutex gMutex;
std::optional<Slot> gSlot;

}  // namespace

engine::core::SecretKey keyTextDigest(const unsigned char* context, std::size_t size, const std::string& key) {
    engine::core::Sha256 sha;
    sha.update(context, size);
    sha.update(reinterpret_cast<const unsigned char*>(key.data()), key.size());
    engine::core::Sha256Digest digest = sha.finish();
    engine::core::SecretKey out;
    std::copy(digest.begin(), digest.end(), out.data());
    OPENSSL_cleanse(digest.data(), digest.size());
    return out;
}

void keepCheckedKeys(const std::string& resolvedPath, const engine::core::Header& header, const std::string& key,
                     const engine::core::FileKeys& keys) {
    const auto bytes = header.serialize();
    std::lock_guard lock(gMutex);
    gSlot = Slot{resolvedPath, bytes, keyTextDigest(bytes.data(), bytes.size(), key), keys, Clock::now() + kLifetime};
}

std::optional<engine::core::FileKeys> takeCheckedKeys(const std::string& resolvedPath,
                                                      const engine::core::Header& header, const std::string& key) {
    std::lock_guard lock(gMutex);
    if (!gSlot) return std::nullopt;
    Slot slot = std::move(*gSlot);
    gSlot.reset();  // used once, whatever the outcome; the Slot's keys wipe themselves
    const auto bytes = header.serialize();
    const auto digest = keyTextDigest(bytes.data(), bytes.size(), key);
    if (Clock::now() > slot.until || slot.path != resolvedPath || slot.header != bytes ||
        CRYPTO_memcmp(slot.keyDigest.data(), digest.data(), digest.size()) != 0)
        return std::nullopt;
    return slot.keys;
}

}  // namespace VQ203::detail
