// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/Header.h"

#include <openssl/rand.h>

#include <algorithm>
#include <cstring>

#include "engine/Ports.h"
#include "engine/core/BigEndian.h"
#include "engine/core/Messages.h"

namespace engine::core {
// Offsets of the fields, as docs/FORMAT.md lists them.
Header::Bytes Header::serialize() const {
    Bytes out{};
    std::memcpy(out.data(), magic.data(), 8);
    out[8] = kKdfScrypt;
    out[9] = kdf.log2N;
    out[10] = kdf.r;
    out[11] = kdf.p;
    writeBigEndian(chunkSize, out.data() + 12);
    std::memcpy(out.data() + 16, kdfSalt.data(), 16);
    std::memcpy(out.data() + 32, keySalt.data(), 16);
    std::memcpy(out.data() + kHeaderMacOffset, mac.data(), 32);
    return out;
}

HeaderStatus parseHeader(const unsigned char* data, std::size_t size, std::initializer_list<Magic> accepted,
                         Header& out) {
    const auto known = std::find_if(accepted.begin(), accepted.end(),
                                    [&](const Magic& m) { return startsWith(data, size, m); });
    if (known == accepted.end()) return HeaderStatus::WrongMagic;
    if (size < kHeaderSize) return HeaderStatus::Malformed;
    out.magic = *known;
    if (data[8] != kKdfScrypt) return HeaderStatus::Malformed;
    out.kdf = ScryptParams{data[9], data[10], data[11]};
    switch (checkScryptParams(out.kdf)) {
        case KdfBound::TooCostly: return HeaderStatus::KdfTooCostly;
        case KdfBound::TooWeak: return HeaderStatus::Malformed;
        case KdfBound::Ok: break;
    }
    out.chunkSize = readBigEndian<std::uint32_t>(data + 12);
    if (out.chunkSize < kMinChunkSize || out.chunkSize > kMaxChunkSize) return HeaderStatus::Malformed;
    std::memcpy(out.kdfSalt.data(), data + 16, 16);
    std::memcpy(out.keySalt.data(), data + 32, 16);
    std::memcpy(out.mac.data(), data + kHeaderMacOffset, 32);
    return HeaderStatus::Ok;
}

Header newHeader(const Magic& magic, std::uint32_t chunkSize) {
    Header header;
    header.magic = magic;
    header.kdf = currentScryptParams();
    header.chunkSize = chunkSize;
    if (RAND_bytes(header.kdfSalt.data(), 16) != 1 || RAND_bytes(header.keySalt.data(), 16) != 1)
        throw Error(msg::kCryptoFailure);
    return header;
}

}  // namespace engine::core
