// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a scratch folder of their own, file helpers, and the properties every reader
// of outside input must keep whatever it is handed. A broken property aborts, so libFuzzer (or the replay
// program) reports it like a crash, with the input that broke it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

using Bytes = std::vector<unsigned char>;

// The key every target decrypts with; the seed corpus is encrypted with it, so seeds pass the key check.
inline constexpr char kKey[] = "fuzz-key";

// Sets the cheap KDF cost for what the targets encrypt; call first in every target that encrypts or decrypts.
void useCheapKdf();

// A folder of this process's own under the system's temporary folder, removed when the process exits.
const std::string& scratch();
// Removes everything in `folder` and creates it afresh (its parents too).
void resetFolder(const std::string& folder);

void writeBytes(const std::string& path, const unsigned char* data, std::size_t size);
Bytes readBytes(const std::string& path);

// Every path under `root`, relative to it, symbolic links listed but not followed.
std::vector<std::string> listTree(const std::string& root);
// Whether a name under `root` holds the engine's temporary-file tag.
bool holdsTemporaryFile(const std::string& root);

// Aborts with `what` on stderr unless `ok`.
void require(bool ok, const char* what);

// A refused input must leave the file as it was and no temporary file beside it.
void requireUntouched(const std::string& path, const unsigned char* data, std::size_t size);

}  // namespace fuzz
