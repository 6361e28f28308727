// sifrovat0: the file's own blocks are overwritten with AES-256-CTR ciphertext of themselves under a random
// key and nonce that are wiped at once. Destruction is the point, so there is no temporary copy of the plain
// content; what this cannot reach (SSD remapping, copy-on-write, backups) is in docs/SECURITY.md.
#include <fcntl.h>
#include <openssl/evp.h>
#include <openssl/rand.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "engine/VQ203.h"
#include "engine/core/FileIO.h"
#include "engine/core/Messages.h"
#include "engine/core/Progress.h"
#include "engine/core/Secret.h"

namespace VQ203 {
namespace {

using engine::Error;
namespace msg = engine::msg;

constexpr std::size_t kBlock = 1u << 20;

class CipherContext {
public:
    CipherContext() : ctx_(EVP_CIPHER_CTX_new()) {
        if (!ctx_) throw Error(msg::kCryptoFailure);
    }
    ~CipherContext() { EVP_CIPHER_CTX_free(ctx_); }  // frees and wipes the key schedule
    EVP_CIPHER_CTX* get() { return ctx_; }

private:
    EVP_CIPHER_CTX* ctx_;
};

}  // namespace

void sifrovat0(const std::string& path, engine::ProgressBar& pb, engine::Window& window) {
    const std::string target = engine::core::resolveRegularFile(path);
    const engine::core::OpenFile file(target, O_RDWR);
    const int fd = file.descriptor();
    const std::uint64_t size = file.size();
    CipherContext cipher;
    {
        engine::core::SecretKey key;
        unsigned char iv[16];
        if (RAND_bytes(key.data(), static_cast<int>(key.size())) != 1 || RAND_bytes(iv, sizeof iv) != 1 ||
            EVP_EncryptInit_ex(cipher.get(), EVP_aes_256_ctr(), nullptr, key.data(), iv) != 1)
            throw Error(msg::kCryptoFailure);
        OPENSSL_cleanse(iv, sizeof iv);
    }  // the key is wiped here; only the context's schedule remains, freed with it
    engine::core::Progress progress(pb, size);
    std::vector<unsigned char> block(kBlock);
    for (std::uint64_t offset = 0; offset < size;) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(kBlock, size - offset));
        const ssize_t got = ::pread(fd, block.data(), want, static_cast<off_t>(offset));
        if (got <= 0) {
            if (got < 0 && errno == EINTR) continue;
            throw Error(msg::kCannotRead);
        }
        int length = 0;
        if (EVP_EncryptUpdate(cipher.get(), block.data(), &length, block.data(), static_cast<int>(got)) != 1)
            throw Error(msg::kCryptoFailure);
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::pwrite(fd, block.data() + done, static_cast<std::size_t>(got - done),
                                         static_cast<off_t>(offset + static_cast<std::uint64_t>(done)));
            if (put < 0) {
                if (errno == EINTR) continue;
                engine::core::throwWriteError(errno);
            }
            done += put;
        }
        offset += static_cast<std::uint64_t>(got);
        progress.advanceTo(offset);
    }
    OPENSSL_cleanse(block.data(), block.size());
    if (::fsync(fd) != 0) engine::core::throwWriteError(errno);
    progress.finish();
    window.repaint();
}

}  // namespace VQ203
