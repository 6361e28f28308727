// SPDX-License-Identifier: GPL-3.0-or-later
// Decryption of files of the older base 1.0.5.
#pragma once

#include <string>

namespace VQ105 {

// Decrypts a file of this base in place; throws engine::Error and changes nothing on failure.
void desifrovat(const std::string& path, const std::string& key);

}  // namespace VQ105
