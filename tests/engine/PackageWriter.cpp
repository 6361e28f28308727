// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/PackageWriter.h"

#include "engine/core/Envelope.h"
#include "engine/core/Keys.h"
#include "engine/core/Stream.h"
#include "engine/vq202/Package.h"
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
    using namespace engine::core;
    std::vector<unsigned char> plain = VQ202::detail::serializeIndex(index, VQ202::detail::IndexLayout::Tree);
    for (const auto& content : contents) plain.insert(plain.end(), content.begin(), content.end());
    EnvelopeHeader header;
    header.fields = newHeader(kMagicPackageTree, VQ202::detail::kPackageChunkSize);
    const SecretKey dataKey = newDataKey();
    wrapDataKey(header, passwordKey(key, header.fields), dataKey);
    const EnvelopeHeader::Bytes headerBytes = header.serialize();
    std::vector<unsigned char> file(headerBytes.begin(), headerBytes.end());
    StreamSealer sealer(streamKeyOf(dataKey, header), header.boundBytes(), VQ202::detail::kPackageChunkSize,
                        [&](const unsigned char* data, std::size_t size) { file.insert(file.end(), data, data + size); });
    sealer.write(plain.data(), plain.size());
    sealer.finish();
    writeFile(path, file);
}

}  // namespace testutil
