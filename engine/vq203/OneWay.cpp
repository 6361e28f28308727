// SPDX-License-Identifier: GPL-3.0-or-later
// sifrovat0: the file's own blocks are overwritten with AES-256-CTR ciphertext of themselves under a random
// key and nonce that are wiped at once. Destruction is the point, so there is no temporary copy of the plain
// content; what this cannot reach (SSD remapping, copy-on-write, backups) is in docs/SECURITY.md.
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <vector>

#include "engine/VQ203.h"
#include "engine/core/Evp.h"
#include "engine/core/FileAccess.h"
#include "engine/core/FileIO.h"
#include "engine/core/Messages.h"
#include "engine/core/Progress.h"
#include "engine/core/Secret.h"

namespace VQ203 {
namespace {

using engine::Error;
namespace msg = engine::msg;

constexpr std::size_t kBlock = 1u << 20;

// `overwritten` counts what has been (or may have been) written, so that a failure can tell whether anything changed.
void overwrite(int fd, EVP_CIPHER_CTX* cipher, std::uint64_t size, engine::core::Progress& progress,
               std::uint64_t& overwritten) {
    using engine::core::nextDataRange;
    std::vector<unsigned char> block(kBlock);
    // Holes hold nothing to destroy, and writing into them would need new blocks that a full disk does not have.
    for (auto data = nextDataRange(fd, 0, size); data; data = nextDataRange(fd, data->second, size)) {
        for (std::uint64_t offset = data->first; offset < data->second;) {
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, data->second - offset));
            const auto got = engine::core::readSomeAt(fd, block.data(), want, offset);
            if (!got || *got == 0) throw Error(msg::kCannotRead);
            int length = 0;
            if (EVP_EncryptUpdate(cipher, block.data(), &length, block.data(), static_cast<int>(*got)) != 1)
                throw Error(msg::kCryptoFailure);
            // Counted before the write: a write that fails part-way may have changed some of the block.
            overwritten += *got;
            int error = 0;
            if (!engine::core::writeAllAt(fd, block.data(), *got, offset, error)) engine::core::throwWriteError(error);
            offset += *got;
            progress.advanceTo(offset);
        }
    }
    OPENSSL_cleanse(block.data(), block.size());
    if (!engine::core::flushToDisk(fd)) throw Error(msg::kNotDurable);
}

}  // namespace

void sifrovat0(const std::string& path, engine::ProgressBar& pb, engine::Window& window) {
    const engine::core::PlacedFile placed = engine::core::placeRegularFile(path);
    const engine::core::OpenFile file(placed.folder, placed.name, engine::core::OpenFile::Access::ReadWrite);
    // From here on only the descriptor is used: the file opened must be the one where the user chose it.
    placed.folder.requireStillInPlace();
    const int fd = file.descriptor();
    const std::uint64_t size = file.size();
    const engine::core::CipherContext cipher = engine::core::newCipherContext();
    {
        engine::core::SecretKey key;
        unsigned char iv[16];
        if (RAND_bytes(key.data(), static_cast<int>(key.size())) != 1 || RAND_bytes(iv, sizeof iv) != 1 ||
            EVP_EncryptInit_ex(cipher.get(), EVP_aes_256_ctr(), nullptr, key.data(), iv) != 1)
            throw Error(msg::kCryptoFailure);
        OPENSSL_cleanse(iv, sizeof iv);
    }  // the key is wiped here; only the context's schedule remains, freed with it
    engine::core::Progress progress(pb, size);
    progress.beginStep(msg::kStepOverwrite);
    std::uint64_t overwritten = 0;
    try {
        overwrite(fd, cipher.get(), size, progress, overwritten);
    } catch (const Error&) {
        // Once anything has been overwritten, "unchanged" would be a lie; the user must know that the
        // file is neither as it was nor fully destroyed.
        if (overwritten > 0) throw Error(msg::kPartlyDestroyed);
        throw;
    }
    progress.finish();
    window.repaint();
}

}  // namespace VQ203
