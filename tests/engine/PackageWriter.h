// SPDX-License-Identifier: GPL-3.0-or-later
// Writes packages of the earlier version (which desifrdir still reads) with whatever entries a test wants,
// hostile ones included; the index and the content after the header are the same in both versions. And
// packages of the tree version, sealed as sifrdir seals them.
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

// A package of the current tree version with exactly this index (paths, folders) and these contents in
// index order, one for each file entry.
void writeTreePackage(const std::string& path, const std::vector<VQ202::detail::Entry>& index,
                      const std::vector<std::vector<unsigned char>>& contents, const std::string& key);

}  // namespace testutil
