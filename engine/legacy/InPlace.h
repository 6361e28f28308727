// SPDX-License-Identifier: GPL-3.0-or-later
// The road every older base shares: find the file, recognise the base by its magic, let the base open it
// with the key, and stream the plain text into a replacement that is committed only once the base has
// authenticated every byte. Any failure leaves the original as it was and no temporary file behind.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/FileIO.h"
#include "engine/core/Magic.h"

namespace engine::legacy {

// One file of one base, opened with a key that passed the base's key check.
class Decryption {
public:
    virtual ~Decryption() = default;
    // No plain text is longer; the replacement reserves this much.
    virtual std::uint64_t largestPlainSize() const = 0;
    // Writes the plain text into `out` and returns its length; throws engine::Error unless the whole file
    // authenticated.
    virtual std::uint64_t decryptInto(core::ReplacementFile& out) = 0;
};

struct OlderBase {
    core::Magic magic;
    std::uint64_t minimalSize;  // header and the tags of an empty plain text
    // Reads and bounds the header, derives the keys and checks the key. `in` outlives the result.
    std::unique_ptr<Decryption> (*open)(const core::InputFile& in, const std::string& key);
};

// The `open` of a base whose Decryption is constructed from the file and the key.
template <typename BaseDecryption>
std::unique_ptr<Decryption> openAs(const core::InputFile& in, const std::string& key) {
    return std::make_unique<BaseDecryption>(in, key);
}

void decryptInPlace(const std::string& path, const std::string& key, const OlderBase& base);

}  // namespace engine::legacy
