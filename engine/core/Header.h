// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed 80-byte header that opens every file of the current base (normal and fast) and every stream
// a package carries. Byte layout: docs/FORMAT.md, "Header".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/core/Kdf.h"
#include "engine/core/Magic.h"

namespace engine::core {

inline constexpr std::size_t kHeaderSize = 80;
inline constexpr std::size_t kHeaderMacOffset = 48;  // the MAC covers bytes 0..47
inline constexpr std::size_t kTagSize = 16;
inline constexpr std::uint32_t kMinChunkSize = 4096;
inline constexpr std::uint32_t kMaxChunkSize = 16u << 20;
inline constexpr std::uint32_t kDefaultChunkSize = 64 * 1024;

inline constexpr std::uint8_t kKdfScrypt = 1;

struct Header {
    Magic magic{};
    ScryptParams kdf;
    std::uint32_t chunkSize = 0;
    std::array<unsigned char, 16> kdfSalt{};
    std::array<unsigned char, 16> keySalt{};  // salt of the HKDF step: makes the file's keys its own
    std::array<unsigned char, 32> mac{};

    using Bytes = std::array<unsigned char, kHeaderSize>;
    Bytes serialize() const;
};

enum class HeaderStatus {
    Ok,
    WrongMagic,   // not a file of this kind
    Malformed,    // our magic, but a field outside what the format allows
    KdfTooCostly, // asks for a KDF cost above the documented cap
};

// Reads the fields without running anything; the KDF bounds are checked here, before any allocation.
// `accepted` lists the magics the caller takes.
HeaderStatus parseHeader(const unsigned char* data, std::size_t size, std::initializer_list<Magic> accepted,
                         Header& out);

// A fresh header: random salts, the current production (or test) KDF cost. The MAC is filled in by sealHeader.
Header newHeader(const Magic& magic, std::uint32_t chunkSize);

}  // namespace engine::core
