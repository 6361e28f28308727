// SPDX-License-Identifier: GPL-3.0-or-later
// Base 1.0.5: AES-256-CTR, encrypt-then-MAC with HMAC-SHA256, keys from PBKDF2-HMAC-SHA256; the header
// carries the plain length. Layout: docs/FORMAT.md.
#include "engine/VQ105.h"

#include "engine/legacy/BigEndian.h"
#include "engine/legacy/EncryptThenMac.h"
#include "engine/legacy/InPlace.h"

namespace VQ105 {
namespace {

using namespace engine::legacy;

constexpr std::size_t kHeaderSize = 68;
constexpr std::size_t kPlainSizeAt = 28;

// A stream cipher keeps the length, so any other size is a cut or an extended file.
bool lengthAsRecorded(const unsigned char* header, std::uint64_t cipherSize) {
    return readBigEndian<std::uint64_t>(header + kPlainSizeAt) == cipherSize;
}

constexpr EncryptThenMacLayout kLayout{
    "MVX105 keys", EVP_aes_256_ctr, kHeaderSize, /*iterationsAt*/ 24, /*saltAt*/ 8, /*ivAt*/ 36,
    /*keyCheckAt*/ 52, lengthAsRecorded};

}  // namespace

void desifrovat(const std::string& path, const std::string& key) {
    decryptInPlace(path, key,
                   {engine::core::kMagicBase105, kHeaderSize + kHmacSize,
                    [](const engine::core::InputFile& in, const std::string& k) {
                        return openEncryptThenMac(in, k, kLayout);
                    }});
}

}  // namespace VQ105
