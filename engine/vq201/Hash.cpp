// hash: SHA-256 of the file's content, as sha256sum prints it.
#include <openssl/evp.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <vector>

#include "engine/VQ201.h"
#include "engine/core/FileIO.h"
#include "engine/core/Hex.h"
#include "engine/core/Messages.h"

namespace VQ201 {

void hash(const std::string& path, engine::TextField& field) {
    const engine::core::InputFile in(engine::core::resolveRegularFile(path));
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1)
        throw engine::Error(engine::msg::kCryptoFailure);
    std::vector<unsigned char> buffer(1u << 20);
    for (;;) {
        const ssize_t got = ::read(in.descriptor(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            throw engine::Error(engine::msg::kCannotRead);
        }
        if (got == 0) break;
        if (EVP_DigestUpdate(ctx.get(), buffer.data(), static_cast<std::size_t>(got)) != 1)
            throw engine::Error(engine::msg::kCryptoFailure);
    }
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(ctx.get(), digest, &length) != 1) throw engine::Error(engine::msg::kCryptoFailure);
    field.setText(engine::core::toHex(digest, length));
}

}  // namespace VQ201
