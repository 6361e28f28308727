// SPDX-License-Identifier: GPL-3.0-or-later
// strtohex: a one-way user code. scrypt over the UTF-8 text with a fixed application salt, so that the same
// name and password always give the same code while the database never shows a password.
#include <openssl/crypto.h>

#include "engine/Roster.h"
#include "engine/core/Hex.h"
#include "engine/core/Kdf.h"

namespace Roster {
namespace {

// Fixed and documented (docs/FORMAT.md, "User code"): changing either changes every user code.
constexpr char kApplicationSalt[] = "Mivex 2 user code v1";
constexpr engine::core::ScryptParams kUserCodeCost{15, 8, 1};  // about 0.1 s, 32 MiB

}  // namespace

void strtohex(const std::string& text, engine::TextField& field) {
    const engine::core::SecretKey code =
        engine::core::scryptKey(text, reinterpret_cast<const unsigned char*>(kApplicationSalt),
                                sizeof kApplicationSalt - 1, kUserCodeCost);
    std::string hex = engine::core::toHex(code.data(), code.size());
    field.setText(hex);
    // The code is what the static key is made from: no copy of it stays behind in freed memory.
    OPENSSL_cleanse(hex.data(), hex.size());
}

}  // namespace Roster
