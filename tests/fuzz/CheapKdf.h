// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzz targets hand the readers arbitrary headers, and a header names its own KDF cost: up to scrypt
// 2^20 or five million PBKDF2 rounds, seconds per input, which is a cost the readers bound on purpose and
// not a finding. So a target passes on only inputs that ask for little more than the cheapest cost; the
// cost checks themselves are covered by the unit tests (a header above the cap is refused before any work).
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

inline std::uint32_t bigEndian32(const unsigned char* at) {
    return std::uint32_t{at[0]} << 24 | std::uint32_t{at[1]} << 16 | std::uint32_t{at[2]} << 8 | at[3];
}

// The current base and the folder package: scrypt log2 N at offset 9 (r and p are fixed by the reader).
inline bool asksCheapScrypt(const unsigned char* file, std::size_t size) {
    return size <= 9 || file[9] <= 11;
}

// An older base's header: PBKDF2 rounds or scrypt parameters where that base keeps them.
inline bool asksCheapLegacyKdf(int base, const unsigned char* file, std::size_t size) {
    constexpr std::uint32_t kRounds = 2000;
    switch (base) {
    case 104:
    case 106:
        return size < 12 || bigEndian32(file + 8) <= kRounds;
    case 105:
        return size < 28 || bigEndian32(file + 24) <= kRounds;
    default:  // 2.0.1.0: log2 N, r, p at 8, 9, 10
        return size < 11 || (file[8] <= 11 && file[9] <= 8 && file[10] <= 2);
    }
}

}  // namespace fuzz
