// SPDX-License-Identifier: GPL-3.0-or-later
// Lowercase hexadecimal text of bytes.
#pragma once

#include <cstddef>
#include <string>

namespace engine::core {

inline std::string toHex(const unsigned char* data, std::size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        text.push_back(kDigits[data[i] >> 4]);
        text.push_back(kDigits[data[i] & 0x0f]);
    }
    return text;
}

}  // namespace engine::core
