// SPDX-License-Identifier: GPL-3.0-or-later
// Files as text, for tests that compare a profile file byte for byte.
#pragma once

#include <string>

#include "tests/engine/TempDir.h"

namespace testutil {

inline std::string readText(const std::string& path) {
    const auto bytes = readFile(path);
    return {bytes.begin(), bytes.end()};
}

inline void writeText(const std::string& path, const std::string& text) {
    writeFile(path, std::vector<unsigned char>(text.begin(), text.end()));
}

}  // namespace testutil
