// SPDX-License-Identifier: GPL-3.0-or-later
// Writes packages of the earlier version (which desifrdir still reads) with whatever entries a test wants,
// hostile ones included; the index and the content after the header are the same in both versions.
#pragma once

#include <string>
#include <vector>

#include "engine/vq202/PackageIndex.h"

namespace testutil {

struct PackedEntry {
    std::string name;
    std::vector<unsigned char> content;
};

void writePackage(const std::string& path, const std::vector<PackedEntry>& entries, const std::string& key);

}  // namespace testutil
