// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/NameKey.h"

#include <cstring>

#include "platform/ProfileDocument.h"
#include "platform/ProfileFile.h"

namespace users {
namespace {

constexpr char kEscape = '%';

bool isPlainKey(std::string_view name) {
    // A user called "name" would overwrite the key beside it.
    return platform::ProfileFile::isStorableKey(name) && platform::trimBlanks(name) == name &&
           name.front() != kEscape && !platform::sameName(name, kNameKey);
}

bool mustBeEscaped(unsigned char byte) {
    return byte <= 0x20 || byte == 0x7F || std::strchr("%=[];#", byte) != nullptr;
}

}  // namespace

std::string nameKey(std::string_view name) {
    if (isPlainKey(name)) return std::string(name);
    constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string key(1, kEscape);
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (mustBeEscaped(byte)) {
            key += kEscape;
            key += kHexDigits[byte >> 4];
            key += kHexDigits[byte & 0x0F];
        } else {
            key += c;
        }
    }
    return key;
}

}  // namespace users
