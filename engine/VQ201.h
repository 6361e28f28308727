// SPDX-License-Identifier: GPL-3.0-or-later
// Fingerprints, and decryption of files of the base 2.0.1.0.
#pragma once

#include <string>

#include "engine/Ports.h"

namespace VQ201 {

// Lowercase hexadecimal SHA-256 of the file's content into the field.
void hash(const std::string& path, engine::TextField& field);
// The same, with the step and the bytes read shown on `pb`.
void hash(const std::string& path, engine::TextField& field, engine::ProgressBar& pb);

// Decrypts a file of base 2.0.1.0 in place; throws engine::Error and changes nothing on failure.
void desifrovat(const std::string& path, const std::string& key);

}  // namespace VQ201
