// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/Envelope.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <cstring>

#include "engine/Ports.h"
#include "engine/core/Kdf.h"
#include "engine/core/Messages.h"

namespace engine::core {
namespace {

std::array<unsigned char, 32> macOf(const EnvelopeHeader& header, const SecretKey& master) {
    const SecretKey macKey = hkdfKey(master, header.fields.keySalt.data(), header.fields.keySalt.size(), "MVX202 header");
    const EnvelopeHeader::Bytes bytes = header.serialize();
    std::array<unsigned char, 32> mac{};
    unsigned int length = 0;
    if (!HMAC(EVP_sha256(), macKey.data(), static_cast<int>(macKey.size()), bytes.data(), kHeaderSize, mac.data(),
              &length) ||
        length != mac.size())
        throw Error(msg::kCryptoFailure);
    return mac;
}

// data key XOR the wrapping key: the same operation wraps and unwraps.
SecretKey xorWithWrappingKey(const unsigned char* key, const EnvelopeHeader& header, const SecretKey& master) {
    const SecretKey wrapping = hkdfKey(master, header.fields.keySalt.data(), header.fields.keySalt.size(), "MVX202 wrap");
    SecretKey out;
    for (std::size_t i = 0; i < out.size(); ++i) out.data()[i] = key[i] ^ wrapping.data()[i];
    return out;
}

}  // namespace

EnvelopeHeader::Bytes EnvelopeHeader::serialize() const {
    Bytes out{};
    Header withWrappedKey = fields;
    withWrappedKey.mac = wrappedKey;  // bytes 48..79 of the fixed layout
    const Header::Bytes head = withWrappedKey.serialize();
    std::memcpy(out.data(), head.data(), head.size());
    std::memcpy(out.data() + kHeaderSize, mac.data(), mac.size());
    return out;
}

std::array<unsigned char, kEnvelopeBoundBytes> EnvelopeHeader::boundBytes() const {
    const Bytes all = serialize();
    std::array<unsigned char, kEnvelopeBoundBytes> bound{};
    std::memcpy(bound.data(), all.data(), bound.size());
    return bound;
}

HeaderStatus parseEnvelopeHeader(const unsigned char* data, std::size_t size, const Magic& magic, EnvelopeHeader& out) {
    const HeaderStatus status = parseHeader(data, size, {magic}, out.fields);
    if (status != HeaderStatus::Ok) return status;
    if (size < kEnvelopeHeaderSize) return HeaderStatus::Malformed;
    out.wrappedKey = out.fields.mac;
    out.fields.mac = {};
    std::memcpy(out.mac.data(), data + kHeaderSize, out.mac.size());
    return HeaderStatus::Ok;
}

SecretKey newDataKey() {
    SecretKey key;
    if (RAND_bytes(key.data(), static_cast<int>(key.size())) != 1) throw Error(msg::kCryptoFailure);
    return key;
}

SecretKey streamKeyOf(const SecretKey& dataKey, const EnvelopeHeader& header) {
    return hkdfKey(dataKey, header.fields.keySalt.data(), header.fields.keySalt.size(), "MVX202 stream");
}

void wrapDataKey(EnvelopeHeader& header, const SecretKey& master, const SecretKey& dataKey) {
    const SecretKey wrapped = xorWithWrappingKey(dataKey.data(), header, master);
    std::memcpy(header.wrappedKey.data(), wrapped.data(), wrapped.size());
    header.mac = macOf(header, master);
}

std::optional<SecretKey> unwrapDataKey(const EnvelopeHeader& header, const SecretKey& master) {
    const auto expected = macOf(header, master);
    if (CRYPTO_memcmp(expected.data(), header.mac.data(), expected.size()) != 0) return std::nullopt;
    return xorWithWrappingKey(header.wrappedKey.data(), header, master);
}

}  // namespace engine::core
