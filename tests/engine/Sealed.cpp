// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/Sealed.h"

#include "engine/core/Envelope.h"
#include "engine/core/Header.h"
#include "engine/core/Keys.h"
#include "engine/core/Stream.h"

namespace testutil {

std::vector<unsigned char> sealedWith(const engine::core::Magic& magic, const std::vector<unsigned char>& plain,
                                      const std::string& key) {
    using namespace engine::core;
    Header header = newHeader(magic, kDefaultChunkSize);
    const FileKeys keys = deriveFileKeys(key, header);
    sealHeader(header, keys);
    const Header::Bytes headerBytes = header.serialize();
    std::vector<unsigned char> file(headerBytes.begin(), headerBytes.end());
    StreamSealer sealer(keys.stream, headerBytes, kDefaultChunkSize,
                        [&](const unsigned char* data, std::size_t size) { file.insert(file.end(), data, data + size); });
    sealer.write(plain.data(), plain.size());
    sealer.finish();
    return file;
}

std::vector<unsigned char> sealedTreePackage(const std::vector<unsigned char>& plain, const std::string& key) {
    using namespace engine::core;
    EnvelopeHeader header;
    header.fields = newHeader(kMagicPackageTree, kDefaultChunkSize);
    const SecretKey dataKey = newDataKey();
    wrapDataKey(header, passwordKey(key, header.fields), dataKey);
    const EnvelopeHeader::Bytes headerBytes = header.serialize();
    std::vector<unsigned char> file(headerBytes.begin(), headerBytes.end());
    StreamSealer sealer(streamKeyOf(dataKey, header), header.boundBytes(), kDefaultChunkSize,
                        [&](const unsigned char* data, std::size_t size) { file.insert(file.end(), data, data + size); });
    sealer.write(plain.data(), plain.size());
    sealer.finish();
    return file;
}

}  // namespace testutil
