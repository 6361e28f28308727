// hash: SHA-256 of the file's content, as sha256sum prints it.
#include "engine/VQ201.h"
#include "engine/core/FileIO.h"
#include "engine/core/Hex.h"
#include "engine/core/KnownDigest.h"
#include "engine/core/Sha256.h"

namespace VQ201 {

void hash(const std::string& path, engine::TextField& field) {
    const std::string target = engine::core::resolveRegularFile(path);
    const engine::core::InputFile in(target);
    // Right after a decryption the engine knows the digest of what it wrote, as long as nobody touched the file.
    if (const auto known = engine::core::takeDigestIfUnchanged(target, in.state())) {
        field.setText(engine::core::toHex(known->data(), known->size()));
        return;
    }
    const engine::core::Sha256Digest digest = engine::core::sha256OfFile(in.descriptor()).digest;
    field.setText(engine::core::toHex(digest.data(), digest.size()));
}

}  // namespace VQ201
