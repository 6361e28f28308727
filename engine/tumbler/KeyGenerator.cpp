// SPDX-License-Identifier: GPL-3.0-or-later
// key and keynb: keys from the operating system's generator through OpenSSL RAND_bytes.
#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <string>
#include <vector>

#include "engine/Tumbler.h"
#include "engine/core/Messages.h"

namespace Tumbler {
namespace {

// 32 letters and digits without the look-alikes I, L, O and U: 5 bits a character, easy to read back.
constexpr char kTypeable[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr int kTypeableCharacters = 52;  // 260 random bits
constexpr int kGroup = 4;

std::vector<unsigned char> randomBytes(std::size_t count) {
    std::vector<unsigned char> bytes(count);
    if (count > 0 && RAND_bytes(bytes.data(), static_cast<int>(count)) != 1)
        throw engine::Error(engine::msg::kCryptoFailure);
    return bytes;
}

void deliver(std::string& text, engine::TextField& field) {
    field.setText(text);
    OPENSSL_cleanse(text.data(), text.size());
}

}  // namespace

// n is 1 at every call site; the key is the same kind for any n.
void key(int /*n*/, engine::TextField& field) {
    auto bytes = randomBytes(kTypeableCharacters);
    std::string text;
    // Room for the whole key at once: a growing text would leave its earlier copies in freed memory.
    text.reserve(kTypeableCharacters + kTypeableCharacters / kGroup);
    for (int i = 0; i < kTypeableCharacters; ++i) {
        if (i > 0 && i % kGroup == 0) text.push_back('-');
        text.push_back(kTypeable[bytes[i] & 31]);  // 32 divides 256: every letter equally likely
    }
    OPENSSL_cleanse(bytes.data(), bytes.size());
    deliver(text, field);
}

void keynb(int bits, engine::TextField& field) {
    if (bits < 1 || bits > 65536) throw engine::Error(engine::msg::kKeySizeOutOfRange);
    const int digits = (bits + 3) / 4;
    auto bytes = randomBytes(static_cast<std::size_t>(digits));
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    text.reserve(static_cast<std::size_t>(digits));
    const int leadingBits = bits - 4 * (digits - 1);  // the first digit carries 1..4 bits
    for (int i = 0; i < digits; ++i) {
        const int mask = i == 0 ? (1 << leadingBits) - 1 : 15;
        text.push_back(kHex[bytes[static_cast<std::size_t>(i)] & mask]);
    }
    OPENSSL_cleanse(bytes.data(), bytes.size());
    deliver(text, field);
}

}  // namespace Tumbler
