// SPDX-License-Identifier: GPL-3.0-or-later
// The SHA-256 of a file the engine has just written, taken from the bytes as they were written into its unnamed
// result, so that the fingerprint asked for right after (the integrity check after a decryption) need not
// read the file again.
// It is given out once, and only while the file is provably the one written: the same file with the same
// size, modification time and change time. Any write or truncation moves the modification time and every
// change of the inode its change time, which no program can set back.
#pragma once

#include <optional>
#include <string>

#include "engine/core/FileState.h"
#include "engine/core/Sha256.h"

namespace engine::core {

void rememberDigest(const std::string& resolvedPath, const FileState& asWritten, const Sha256Digest& digest);
// The remembered digest when `now` is the file as written; forgotten either way.
std::optional<Sha256Digest> takeDigestIfUnchanged(const std::string& resolvedPath, const FileState& now);

// The other direction: the state a file was in when a fingerprint of it was begun. A flag given that
// fingerprint is bound to this state, not to the file as it is by then: an edit made while the fingerprint
// was taken must stop the encryption, not be sealed as damage.
void rememberFingerprintedState(const std::string& resolvedPath, const FileState& beforeReading,
                                const std::string& fingerprint);
// The state remembered for exactly this fingerprint of this file; forgotten either way.
std::optional<FileState> takeFingerprintedState(const std::string& resolvedPath, const std::string& fingerprint);

}  // namespace engine::core
