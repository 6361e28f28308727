// SPDX-License-Identifier: GPL-3.0-or-later
// How a stream of chunks maps plaintext sizes to ciphertext sizes: every chunk but the last holds exactly
// chunkSize plaintext bytes; the last holds 0..chunkSize (0 only when the whole plaintext is empty).
// Each chunk carries a kTagSize tag.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/core/Header.h"

namespace engine::core {

struct ChunkLayout {
    std::uint32_t chunkSize = 0;

    std::uint64_t chunkCount(std::uint64_t plainSize) const {
        return plainSize == 0 ? 1 : (plainSize + chunkSize - 1) / chunkSize;
    }
    std::uint64_t sealedSize(std::uint64_t plainSize) const { return plainSize + chunkCount(plainSize) * kTagSize; }
    // The plaintext size of a body of `sealed` bytes, or nothing when no plaintext seals to exactly that size.
    std::optional<std::uint64_t> plainSizeOf(std::uint64_t sealed) const {
        const std::uint64_t stride = std::uint64_t{chunkSize} + kTagSize;
        if (sealed < kTagSize) return std::nullopt;
        const std::uint64_t count = (sealed + stride - 1) / stride;
        const std::uint64_t last = sealed - (count - 1) * stride;
        if (last < kTagSize) return std::nullopt;
        if (last == kTagSize && count > 1) return std::nullopt;  // an empty last chunk only for empty plaintext
        return sealed - count * kTagSize;
    }
};

}  // namespace engine::core
