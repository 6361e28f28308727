// SPDX-License-Identifier: GPL-3.0-or-later
// The key derivation of a coming encryption, started as soon as the caller has the key: scrypt runs on
// another core while the caller takes the file's fingerprint, and the encryption that follows finds the
// master key ready. One slot, taken only by the next encryption of the same file with the same key text,
// used once, wiped on use, and refused after a few minutes (a question box may stand open in between).
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <chrono>
#include <future>
#include <mutex>
#include <optional>

#include "engine/VQ203.h"
#include "engine/core/Background.h"
#include "engine/core/FileIO.h"
#include "engine/core/Kdf.h"
#include "engine/vq203/Method.h"

namespace VQ203 {
namespace {

using Clock = std::chrono::steady_clock;
using engine::core::SecretKey;
constexpr auto kLifetime = std::chrono::minutes(5);

struct Slot {
    std::string path;
    std::array<unsigned char, 16> kdfSalt{};
    engine::core::ScryptParams params;
    SecretKey keyDigest;  // SHA-256 of the salt and the key text: tells the key without keeping it
    std::future<SecretKey> master;
    Clock::time_point until;
};

std::mutex gMutex;
std::optional<Slot> gSlot;

}  // namespace

void prepareKey(const std::string& path, const std::string& key) {
    try {
        if (key.empty()) return;
        Slot slot;
        slot.path = engine::core::resolveRegularFile(path);
        slot.params = engine::core::currentScryptParams();
        if (RAND_bytes(slot.kdfSalt.data(), static_cast<int>(slot.kdfSalt.size())) != 1) return;
        slot.keyDigest = detail::keyTextDigest(slot.kdfSalt.data(), slot.kdfSalt.size(), key);
        // The key text travels as a Secret: a captured std::string of a short key would leave copies of it
        // behind in every closure it is moved out of.
        slot.master = engine::core::startInBackground<SecretKey>(
            [password = engine::core::Secret(key.data(), key.size()), salt = slot.kdfSalt, params = slot.params] {
                return engine::core::scryptKey(password.text(), salt.data(), salt.size(), params);
            });
        slot.until = Clock::now() + kLifetime;
        std::lock_guard lock(gMutex);
        gSlot = std::move(slot);  // a previous derivation still running ends by itself, unseen
    } catch (...) {
        // Only a head start: the encryption derives the key itself when nothing is prepared.
    }
}

namespace detail {

std::optional<PreparedKey> takePreparedKey(const std::string& resolvedPath, const std::string& key) {
    std::optional<Slot> slot;
    {
        std::lock_guard lock(gMutex);
        slot = std::move(gSlot);
        gSlot.reset();  // used once, whatever the outcome
    }
    if (!slot || slot->path != resolvedPath || Clock::now() > slot->until) return std::nullopt;
    const SecretKey digest = keyTextDigest(slot->kdfSalt.data(), slot->kdfSalt.size(), key);
    if (CRYPTO_memcmp(digest.data(), slot->keyDigest.data(), digest.size()) != 0) return std::nullopt;
    try {
        // The derivation may still run: the wait for it stops when the caller asks to stop.
        return PreparedKey{engine::core::awaitUnlessStopped(slot->master), slot->kdfSalt, slot->params};
    } catch (const engine::Cancelled&) {
        throw;
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace detail
}  // namespace VQ203
