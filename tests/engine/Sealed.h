// SPDX-License-Identifier: GPL-3.0-or-later
// A whole file sealed in memory as the engine's formats seal it, under any magic: files of an earlier
// version, packages with whatever content a test wants.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Magic.h"

namespace testutil {

std::vector<unsigned char> sealedWith(const engine::core::Magic& magic, const std::vector<unsigned char>& plain,
                                      const std::string& key);
// A folder package of the tree version around `plain` (index and contents), sealed as sifrdir seals it.
std::vector<unsigned char> sealedTreePackage(const std::vector<unsigned char>& plain, const std::string& key);

}  // namespace testutil
