// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/Sha256.h"

#include <algorithm>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/Cancel.h"
#include "engine/core/FileAccess.h"
#include "engine/core/Hex.h"
#include "engine/core/Messages.h"
#include "engine/core/Progress.h"

namespace engine::core {

Sha256::Sha256() : ctx_(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
    if (!ctx_ || EVP_DigestInit_ex(ctx_.get(), EVP_sha256(), nullptr) != 1) throw Error(msg::kCryptoFailure);
}

void Sha256::update(const unsigned char* data, std::size_t size) {
    if (size > 0 && EVP_DigestUpdate(ctx_.get(), data, size) != 1) throw Error(msg::kCryptoFailure);
}

Sha256Digest Sha256::finish() {
    Sha256Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(ctx_.get(), digest.data(), &length) != 1 || length != digest.size())
        throw Error(msg::kCryptoFailure);
    return digest;
}

FileDigest sha256OfFile(int fd, std::uint64_t limit, Progress* progress) {
    Sha256 sha;
    std::vector<unsigned char> buffer(1u << 20);
    std::uint64_t done = 0;
    while (done < limit) {
        stopIfCancelled();
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), limit - done));
        const auto got = readSomeAt(fd, buffer.data(), want, done);
        if (!got) throw Error(msg::kCannotRead);
        if (*got == 0) break;
        sha.update(buffer.data(), *got);
        done += *got;
        if (progress) progress->advanceTo(done);
    }
    return FileDigest{sha.finish(), done};
}

std::string fingerprintText(const Sha256Digest& digest) { return toHex(digest.data(), digest.size()); }

std::string fingerprintOfFile(int fd, Progress* progress) {
    return fingerprintText(sha256OfFile(fd, UINT64_MAX, progress).digest);
}

}  // namespace engine::core
