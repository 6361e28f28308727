// SPDX-License-Identifier: GPL-3.0-or-later
// Integers in every base's header are big-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace engine::core {

template <typename T>
T readBigEndian(const unsigned char* bytes) {
    T value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value = static_cast<T>((value << 8) | bytes[i]);
    return value;
}

template <typename T>
void writeBigEndian(T value, unsigned char* bytes) {
    for (std::size_t i = sizeof(T); i-- > 0;) {
        bytes[i] = static_cast<unsigned char>(value & 0xFF);
        value = static_cast<T>(value >> 8);
    }
}

}  // namespace engine::core
