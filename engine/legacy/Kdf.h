// SPDX-License-Identifier: GPL-3.0-or-later
// Key derivation for the older bases. A file names its own KDF cost, so the cost is bounded before any work:
// a file asking for more than the cap is refused at once (it could otherwise stall or exhaust the machine),
// one asking for less than the floor was never written by the engine and is refused as damaged.
// scrypt, HKDF-Expand and the self-wiping secret are the engine's own (engine/core/Kdf.h); PBKDF2 is used only here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/core/Kdf.h"
#include "engine/core/Secret.h"

namespace engine::legacy {

using core::expandKeys;
using core::scrypt;
using core::Secret;
// The header's one-byte log2 N, r and p.
using ScryptCost = core::ScryptParams;

inline constexpr std::uint32_t kPbkdf2MinIterations = 1000;
inline constexpr std::uint32_t kPbkdf2MaxIterations = 5'000'000;

inline constexpr unsigned kScryptMinLog2N = 10;
inline constexpr unsigned kScryptMaxLog2N = 20;
inline constexpr std::uint32_t kScryptMaxR = 32;
inline constexpr std::uint32_t kScryptMaxP = 16;
// Memory is 128 * r * N bytes: at most 256 MiB. Work is about N * r * p: at most four times the default's.
inline constexpr std::uint64_t kScryptMaxNr = std::uint64_t{1} << 21;
inline constexpr std::uint64_t kScryptMaxNrp = std::uint64_t{1} << 22;

enum class Pbkdf2Digest { Sha256, Sha512 };

// Throw engine::Error (too costly / damaged) unless the cost lies within the bounds above.
void requirePbkdf2Cost(std::uint32_t iterations);
void requireScryptCost(const ScryptCost& cost);

// The raw derivation; callers bound the cost first.
Secret pbkdf2(const std::string& key, const unsigned char* salt, std::size_t saltSize, std::uint32_t iterations,
              Pbkdf2Digest digest, std::size_t length);

// Every older base stores a key check of this size right after its keys in the expanded master.
inline constexpr std::size_t kKeyCheckSize = 16;

// Expands `master` with the base's `label` into `keysSize` bytes of keys and a key check; throws the wrong-key
// error unless the check equals `storedCheck` (compared in constant time). Returns the keys and the check.
Secret checkedKeys(const Secret& master, std::string_view label, std::size_t keysSize,
                   const unsigned char* storedCheck);

}  // namespace engine::legacy
