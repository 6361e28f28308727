// SPDX-License-Identifier: GPL-3.0-or-later
// The two methods of this base and the in-place work they share. Internal to VQ203.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/FileIO.h"
#include "engine/core/Header.h"
#include "engine/core/Keys.h"

namespace VQ203::detail {

// Normal: 64 KiB chunks, the cipher on one core. Fast: 1 MiB chunks (fewer tags and cipher set-ups), the
// cipher shared out over the cores the reader and writer threads leave free. Both are the same
// authenticated encryption; the magic says which one made a file.
struct Method {
    engine::core::Magic magic;
    std::uint32_t chunkSize;
    unsigned workers;
};
Method normalMethod();
Method fastMethod();

void encryptInPlace(const std::string& path, const std::string& key, const Method& method, engine::ProgressBar& pb);
// Takes files of either method: the header says how they were made.
void decryptInPlace(const std::string& path, const std::string& key, engine::ProgressBar& pb);

// Reads and parses the header of a file of this base; throws the engine::Error that fits what is wrong.
engine::core::Header readOurHeader(const engine::core::InputFile& in);
// Whether a magic of this base (either version) names the fast method.
bool isFast(const engine::core::Magic& magic);

// The file flag (Flag.cpp). A trailer is the fingerprint, its length (2 bytes) and the flag magic (8 bytes).
inline constexpr std::size_t kFlagTrailerFixed = 10;
inline constexpr std::size_t kMaxFingerprint = 4096;
struct FoundFlag {
    std::string fingerprint;
    std::uint64_t contentSize = 0;  // the plaintext's length without the trailer
};
std::vector<unsigned char> flagTrailer(const std::string& fingerprint);
// The trailer at the end of the first `size` bytes of `fd`, if there is one.
std::optional<FoundFlag> findFlag(int fd, std::uint64_t size);
// The fingerprint priznak_pridat was given for this file ("" if none), used once; refused
// (kChangedMeanwhile) when the file was written to since.
std::string takeGivenFlag(const std::string& resolvedPath, const engine::core::InputFile& in);
// What the decryption found, for priznak_odebrat.
void keepRemovedFlag(const std::string& resolvedPath, const std::string& fingerprint);

// SHA-256 of `context` and the key text: tells a key text again later without keeping it.
engine::core::SecretKey keyTextDigest(const unsigned char* context, std::size_t size, const std::string& key);

// The master key prepareKey derived ahead for the next encryption of this file with this key, if any.
struct PreparedKey {
    engine::core::SecretKey master;
    std::array<unsigned char, 16> kdfSalt;
    engine::core::ScryptParams params;
};
std::optional<PreparedKey> takePreparedKey(const std::string& resolvedPath, const std::string& key);

// The keys a passcheck found right, handed once to the decryption of the same file with the same key.
void keepCheckedKeys(const std::string& resolvedPath, const engine::core::Header& header, const std::string& key,
                     const engine::core::FileKeys& keys);
std::optional<engine::core::FileKeys> takeCheckedKeys(const std::string& resolvedPath,
                                                      const engine::core::Header& header, const std::string& key);

}  // namespace VQ203::detail
