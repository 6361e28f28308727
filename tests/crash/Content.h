// SPDX-License-Identifier: GPL-3.0-or-later
// Plaintext that can be recognised wherever a copy of it ends up: 64-byte records, each carrying a marker,
// the number of its file and its own position, then filler that follows from those two. A leftover that
// holds one whole record holds plaintext; random-looking ciphertext never does.
#pragma once

#include <cstdint>
#include <vector>

namespace crash {

constexpr std::size_t kRecordSize = 64;

// `size` bytes of records for file number `fileId` (the last record cut short where the size ends).
std::vector<unsigned char> plaintextFor(std::uint32_t fileId, std::size_t size);

// Whether `data` contains one whole record of any file made by plaintextFor.
bool holdsPlaintext(const std::vector<unsigned char>& data);

}  // namespace crash
