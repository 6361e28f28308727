// SPDX-License-Identifier: GPL-3.0-or-later
// Current engine base: encryption of single files in place.
#pragma once

#include <string>

#include "engine/Ports.h"

namespace VQ203 {

// What desifrovatelnost reports about a file.
enum Kind : int {
    NotEncrypted = 0,
    Normal = 1,
    Fast = 2,
    Base104 = 3,
    Base105 = 4,
    Base106 = 5,
    Base2010 = 6,
};

// 1 normal, 2 fast, 3..6 a file of an older base, 0 or less anything else. Never throws.
int desifrovatelnost(const std::string& path);

void sifrovat(const std::string& path, const std::string& key, engine::ProgressBar& pb, engine::Window& window);
void fastsifrovat(const std::string& path, const std::string& key, engine::ProgressBar& pb, engine::Window& window);
void desifrovat(const std::string& path, const std::string& key, engine::ProgressBar& pb, engine::Window& window);
void fastdesifrovat(const std::string& path, const std::string& key, engine::ProgressBar& pb, engine::Window& window);

// Starts the key derivation for the next sifrovat/fastsifrovat of this file with this key on another core, so
// that it runs while the caller takes the fingerprint. Never throws; without it the encryption derives the key.
void prepareKey(const std::string& path, const std::string& key);

// One-way encryption: overwrites the file's content under a random key that is then wiped.
void sifrovat0(const std::string& path, engine::ProgressBar& pb, engine::Window& window);

// 1 when the key opens the file, 0 otherwise (wrong key, not our file). Throws only engine::Cancelled.
unsigned char passcheck(const std::string& path, const std::string& key);
// The same, with the key derivation shown as a step on `pb`.
unsigned char passcheck(const std::string& path, const std::string& key, engine::ProgressBar& pb);

// Appends the file flag carrying the fingerprint to the plain file.
void priznak_pridat(const std::string& fingerprint, const std::string& path, engine::ProgressBar& pb);
// Removes the file flag and writes the fingerprint it carried into the field (empty when there was none).
void priznak_odebrat(engine::TextField& buffer, const std::string& path, engine::ProgressBar& pb);

}  // namespace VQ203
