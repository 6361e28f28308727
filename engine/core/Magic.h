// SPDX-License-Identifier: GPL-3.0-or-later
// The eight-byte magics that open every file the engine writes or reads, so that one look at the first bytes
// tells which base made a file. Layout of each format: docs/FORMAT.md.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace engine::core {

using Magic = std::array<unsigned char, 8>;

// "MVX" + base tag + format version.
// Version 2 of the current base always seals the file flag after the content; version 1 (read only) was
// written before the flag moved into the engine and may carry it the same way.
inline constexpr Magic kMagicNormal{'M', 'V', 'X', '2', '0', '3', 'N', 2};
inline constexpr Magic kMagicFast{'M', 'V', 'X', '2', '0', '3', 'F', 2};
inline constexpr Magic kMagicNormalV1{'M', 'V', 'X', '2', '0', '3', 'N', 1};
inline constexpr Magic kMagicFastV1{'M', 'V', 'X', '2', '0', '3', 'F', 1};
inline constexpr Magic kMagicBase104{'M', 'V', 'X', '1', '0', '4', 'C', 1};
inline constexpr Magic kMagicBase105{'M', 'V', 'X', '1', '0', '5', 'T', 1};
inline constexpr Magic kMagicBase106{'M', 'V', 'X', '1', '0', '6', 'P', 1};
inline constexpr Magic kMagicBase2010{'M', 'V', 'X', '2', '0', '1', 'G', 1};
// Version 2 of the package wraps a random data key under the password (core/Envelope.h); version 1 (read
// only) sealed the stream under the password's keys directly.
inline constexpr Magic kMagicPackage{'M', 'V', 'X', '2', '0', '2', 'D', 2};
inline constexpr Magic kMagicPackageV1{'M', 'V', 'X', '2', '0', '2', 'D', 1};
// Version 3: version 2's header and keys, with an index of a whole tree (relative paths, folders too).
inline constexpr Magic kMagicPackageTree{'M', 'V', 'X', '2', '0', '2', 'D', 3};

inline bool startsWith(const unsigned char* data, std::size_t size, const Magic& magic) {
    return size >= magic.size() && std::memcmp(data, magic.data(), magic.size()) == 0;
}

}  // namespace engine::core
