// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/Keys.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include "engine/Ports.h"
#include "engine/core/Kdf.h"
#include "engine/core/Messages.h"

namespace engine::core {
namespace {

std::array<unsigned char, 32> computeMac(const Header& header, const FileKeys& keys) {
    const Header::Bytes bytes = header.serialize();
    std::array<unsigned char, 32> mac{};
    unsigned int length = 0;
    if (!HMAC(EVP_sha256(), keys.mac.data(), static_cast<int>(keys.mac.size()), bytes.data(), kHeaderMacOffset,
              mac.data(), &length) ||
        length != mac.size())
        throw Error(msg::kCryptoFailure);
    return mac;
}

}  // namespace

SecretKey passwordKey(const std::string& password, const Header& header) {
    return scryptKey(password, header.kdfSalt.data(), header.kdfSalt.size(), header.kdf);
}

FileKeys fileKeys(const SecretKey& master, const Header& header) {
    return FileKeys{hkdfKey(master, header.keySalt.data(), header.keySalt.size(), "MVX203 stream"),
                    hkdfKey(master, header.keySalt.data(), header.keySalt.size(), "MVX203 header")};
}

FileKeys deriveFileKeys(const std::string& password, const Header& header) {
    return fileKeys(passwordKey(password, header), header);
}

void sealHeader(Header& header, const FileKeys& keys) { header.mac = computeMac(header, keys); }

bool headerMacMatches(const Header& header, const FileKeys& keys) {
    const auto expected = computeMac(header, keys);
    return CRYPTO_memcmp(expected.data(), header.mac.data(), expected.size()) == 0;
}

}  // namespace engine::core
