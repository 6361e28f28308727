// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/PackageWriter.h"

#include "tests/engine/Sealed.h"
#include "tests/engine/TempDir.h"

namespace testutil {

void writePackage(const std::string& path, const std::vector<PackedEntry>& entries, const std::string& key) {
    std::vector<VQ202::detail::Entry> index;
    for (const auto& entry : entries) index.push_back({entry.name, entry.content.size(), 1'600'000'000, 0, 0640});
    std::vector<unsigned char> plain = VQ202::detail::serializeIndex(index, VQ202::detail::IndexLayout::Flat);
    for (const auto& entry : entries) plain.insert(plain.end(), entry.content.begin(), entry.content.end());
    writeFile(path, sealedWith(engine::core::kMagicPackageV1, plain, key));
}

void writeTreePackage(const std::string& path, const std::vector<VQ202::detail::Entry>& index,
                      const std::vector<std::vector<unsigned char>>& contents, const std::string& key) {
    std::vector<unsigned char> plain = VQ202::detail::serializeIndex(index, VQ202::detail::IndexLayout::Tree);
    for (const auto& content : contents) plain.insert(plain.end(), content.begin(), content.end());
    writeFile(path, sealedTreePackage(plain, key));
}

}  // namespace testutil
