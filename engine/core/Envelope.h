// SPDX-License-Identifier: GPL-3.0-or-later
// A header whose data key is random and travels wrapped under the password, so that sealing can start at
// once and the expensive key derivation runs meanwhile. The folder package uses it; layout in
// docs/FORMAT.md, "Folder package".
//
//   data key   = random 32 bytes, new for every package
//   stream key = HKDF-SHA256(data key, key salt, "MVX202 stream")   -- AEAD key of the chunks
//   master     = scrypt(password, kdf salt)                          -- as for every file
//   wrapped    = data key XOR HKDF-SHA256(master, key salt, "MVX202 wrap")
//   header MAC = HMAC-SHA256(HKDF-SHA256(master, key salt, "MVX202 header"), bytes 0..79)
//
// The chunks' associated data is the header's first 48 bytes (everything but the wrapped key and the MAC,
// which exist only once the derivation has finished); the MAC binds the wrapped key to them and is the key
// check. Salts are random for every package, so no wrapping key is ever used twice.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "engine/core/Header.h"
#include "engine/core/Secret.h"

namespace engine::core {

inline constexpr std::size_t kEnvelopeHeaderSize = 112;
inline constexpr std::size_t kEnvelopeBoundBytes = 48;  // what the chunks are bound to

struct EnvelopeHeader {
    Header fields;  // magic, KDF, chunk size and both salts; its `mac` is not used
    std::array<unsigned char, 32> wrappedKey{};
    std::array<unsigned char, 32> mac{};

    using Bytes = std::array<unsigned char, kEnvelopeHeaderSize>;
    Bytes serialize() const;
    std::array<unsigned char, kEnvelopeBoundBytes> boundBytes() const;
};

// Reads the fields (the KDF bounds checked before anything is allocated); `size` may be short.
HeaderStatus parseEnvelopeHeader(const unsigned char* data, std::size_t size, const Magic& magic, EnvelopeHeader& out);

SecretKey newDataKey();
SecretKey streamKeyOf(const SecretKey& dataKey, const EnvelopeHeader& header);
// Fills wrappedKey and mac from the password's master key.
void wrapDataKey(EnvelopeHeader& header, const SecretKey& master, const SecretKey& dataKey);
// The data key when the MAC proves the password (checked in constant time); nothing for a wrong password
// or a changed header.
std::optional<SecretKey> unwrapDataKey(const EnvelopeHeader& header, const SecretKey& master);

}  // namespace engine::core
