#include "tests/engine/PackageWriter.h"

#include "engine/core/Keys.h"
#include "engine/core/Stream.h"
#include "tests/engine/TempDir.h"

namespace testutil {

void writePackage(const std::string& path, const std::vector<PackedEntry>& entries, const std::string& key) {
    using namespace engine::core;
    std::vector<VQ202::detail::Entry> index;
    for (const auto& entry : entries) index.push_back({entry.name, entry.content.size(), 1'600'000'000, 0, 0640});
    Header header = newHeader(kMagicPackage, kDefaultChunkSize);
    const FileKeys keys = deriveFileKeys(key, header);
    sealHeader(header, keys);
    const Header::Bytes headerBytes = header.serialize();
    std::vector<unsigned char> out(headerBytes.begin(), headerBytes.end());
    StreamSealer sealer(keys.stream, headerBytes, kDefaultChunkSize,
                        [&](const unsigned char* data, std::size_t size) { out.insert(out.end(), data, data + size); });
    const auto indexBytes = VQ202::detail::serializeIndex(index);
    sealer.write(indexBytes.data(), indexBytes.size());
    for (const auto& entry : entries) sealer.write(entry.content.data(), entry.content.size());
    sealer.finish();
    writeFile(path, out);
}

}  // namespace testutil
