// Writes packages the way sifrdir would, but with whatever entries a test wants, hostile ones included.
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
