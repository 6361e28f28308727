// SPDX-License-Identifier: GPL-3.0-or-later
// Encrypt-then-MAC bodies (bases 1.0.4 and 1.0.5): the file ends with HMAC-SHA256 over everything before it.
#pragma once

#include <openssl/evp.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/FileIO.h"
#include "engine/legacy/InPlace.h"

namespace engine::legacy {

inline constexpr std::size_t kHmacSize = 32;

struct EncryptThenMacBody {
    const EVP_CIPHER* cipher;      // padding, if any, is the cipher's default
    const unsigned char* encKey;   // 32 bytes
    const unsigned char* iv;       // the cipher's IV length
    const unsigned char* macKey;   // 32 bytes
    std::uint64_t cipherBegin;     // the header before it is authenticated too
    // The cipher text ends where the tag begins: kHmacSize bytes before the end of the file.
};

// Decrypts the cipher text into `out` from offset 0 in one pass while the tag is computed; returns the plain
// length. Throws the damaged-file error when the tag or the padding is wrong; `out` is then not to be
// committed.
std::uint64_t decryptEncryptThenMac(const core::InputFile& in, core::ReplacementFile& out,
                                    const EncryptThenMacBody& body);

// Where a base of this kind keeps its header fields. Both bases derive a 32-byte master with
// PBKDF2-HMAC-SHA256 and split it with HKDF into cipher key, MAC key and a 16-byte key check.
struct EncryptThenMacLayout {
    const char* keyLabel;
    const EVP_CIPHER* (*cipher)();
    std::size_t headerSize;
    std::size_t iterationsAt;
    std::size_t saltAt;  // 16 bytes
    std::size_t ivAt;
    std::size_t keyCheckAt;
    // Whether a cipher text of this size fits what the header says (checked before the KDF runs).
    bool (*cipherSizeFits)(const unsigned char* header, std::uint64_t cipherSize);
};

std::unique_ptr<Decryption> openEncryptThenMac(const core::InputFile& in, const std::string& key,
                                               const EncryptThenMacLayout& layout);

}  // namespace engine::legacy
