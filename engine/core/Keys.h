// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of one file (or one stream of a package), and the header MAC that serves as the key check.
//
//   master = scrypt(password, header.kdfSalt, header.kdf)            -- the expensive step, once per password
//   stream = HKDF-SHA256(master, header.keySalt, "MVX203 stream")    -- AEAD key of the chunks
//   mac    = HKDF-SHA256(master, header.keySalt, "MVX203 header")    -- HMAC-SHA256 key of the header
#pragma once

#include <string>

#include "engine/core/Header.h"
#include "engine/core/Secret.h"

namespace engine::core {

struct FileKeys {
    SecretKey stream;
    SecretKey mac;
};

// The expensive step alone; a package derives it once and then many FileKeys from it.
SecretKey passwordKey(const std::string& password, const Header& header);
FileKeys fileKeys(const SecretKey& master, const Header& header);
FileKeys deriveFileKeys(const std::string& password, const Header& header);

// Fills header.mac from the other fields.
void sealHeader(Header& header, const FileKeys& keys);
// Constant-time check of header.mac: false for a wrong password or a changed header.
bool headerMacMatches(const Header& header, const FileKeys& keys);

}  // namespace engine::core
