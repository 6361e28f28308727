// SPDX-License-Identifier: GPL-3.0-or-later
// Turning a password into key material: scrypt for the password, HKDF-SHA256 for the keys of one file.
// The older bases derive with the same scrypt and HKDF; only their bounds and PBKDF2 are their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/core/Secret.h"

namespace engine::core {

struct ScryptParams {
    std::uint8_t log2N = 0;
    std::uint8_t r = 0;
    std::uint8_t p = 0;
};

// Bounds every file's KDF parameters must respect before the KDF is run.
inline constexpr std::uint8_t kMinLog2N = 10;
inline constexpr std::uint8_t kMaxLog2N = 20;  // 2^20 * 8 * 128 bytes = 1 GiB of scrypt memory
inline constexpr std::uint8_t kScryptR = 8;
inline constexpr std::uint8_t kScryptP = 1;
inline constexpr std::uint8_t kProductionLog2N = 17;

// The cost new files get: kProductionLog2N unless a test lowered it (engine/core/TestHooks.h).
ScryptParams currentScryptParams();

enum class KdfBound { Ok, TooCostly, TooWeak };
KdfBound checkScryptParams(const ScryptParams& params);

// scrypt(password, salt) -> 32 bytes. Throws engine::Error when the parameters are out of bounds or OpenSSL fails.
SecretKey scryptKey(std::string_view password, const unsigned char* salt, std::size_t saltSize,
                    const ScryptParams& params);

// HKDF-SHA256(ikm = master, salt, info = label) -> 32 bytes.
SecretKey hkdfKey(const SecretKey& master, const unsigned char* salt, std::size_t saltSize, const char* label);

// The raw derivations, any cost and length; callers bound the cost first. Throw engine::Error when OpenSSL fails.
Secret scrypt(std::string_view password, const unsigned char* salt, std::size_t saltSize,
              const ScryptParams& params, std::size_t length);
// HKDF-SHA256, extract then expand.
Secret hkdf(const Secret& ikm, const unsigned char* salt, std::size_t saltSize, std::string_view info,
            std::size_t length);
// HKDF-Expand with SHA-256 only, for a master that is already a uniform key: splits it into independent keys.
Secret expandKeys(const Secret& master, std::string_view info, std::size_t length);

}  // namespace engine::core
