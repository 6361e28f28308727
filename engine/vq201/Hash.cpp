// hash: SHA-256 of the file's content, as sha256sum prints it.
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "engine/VQ201.h"
#include "engine/core/FileIO.h"
#include "engine/core/Hex.h"
#include "engine/core/KnownDigest.h"
#include "engine/core/Messages.h"

namespace VQ201 {

void hash(const std::string& path, engine::TextField& field) {
    const std::string target = engine::core::resolveRegularFile(path);
    const engine::core::InputFile in(target);
    // Right after a decryption the engine knows the digest of what it wrote, as long as nobody touched the file.
    if (const auto known = engine::core::takeDigestIfUnchanged(target, in.state())) {
        field.setText(engine::core::toHex(known->data(), known->size()));
        return;
    }
    engine::core::Sha256 sha;
    std::vector<unsigned char> buffer(1u << 20);
    for (;;) {
        const ssize_t got = ::read(in.descriptor(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            throw engine::Error(engine::msg::kCannotRead);
        }
        if (got == 0) break;
        sha.update(buffer.data(), static_cast<std::size_t>(got));
    }
    const engine::core::Sha256Digest digest = sha.finish();
    field.setText(engine::core::toHex(digest.data(), digest.size()));
}

}  // namespace VQ201
