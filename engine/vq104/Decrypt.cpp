// SPDX-License-Identifier: GPL-3.0-or-later
// Base 1.0.4: AES-256-CBC with PKCS#7 padding, encrypt-then-MAC with HMAC-SHA256, keys from
// PBKDF2-HMAC-SHA256. Layout: docs/FORMAT.md.
#include "engine/VQ104.h"

#include "engine/legacy/EncryptThenMac.h"
#include "engine/legacy/InPlace.h"

namespace VQ104 {
namespace {

using namespace engine::legacy;

constexpr std::size_t kHeaderSize = 60;
constexpr std::size_t kBlockSize = 16;

bool wholeBlocks(const unsigned char*, std::uint64_t cipherSize) {
    return cipherSize >= kBlockSize && cipherSize % kBlockSize == 0;
}

constexpr EncryptThenMacLayout kLayout{
    "MVX104 keys", EVP_aes_256_cbc, kHeaderSize, /*iterationsAt*/ 8, /*saltAt*/ 12, /*ivAt*/ 28,
    /*keyCheckAt*/ 44, wholeBlocks};

}  // namespace

void desifrovat(const std::string& path, const std::string& key) {
    decryptInPlace(path, key,
                   {engine::core::kMagicBase104, kHeaderSize + kBlockSize + kHmacSize,
                    [](const engine::core::InputFile& in, const std::string& k) {
                        return openEncryptThenMac(in, k, kLayout);
                    }});
}

}  // namespace VQ104
