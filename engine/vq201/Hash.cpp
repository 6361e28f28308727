// SPDX-License-Identifier: GPL-3.0-or-later
// hash: SHA-256 of the file's content, as sha256sum prints it.
#include "engine/VQ201.h"
#include "engine/core/FileIO.h"
#include "engine/core/KnownDigest.h"
#include "engine/core/Messages.h"
#include "engine/core/Progress.h"
#include "engine/core/Sha256.h"

namespace VQ201 {

namespace {

std::string digestOf(const std::string& target, const engine::core::InputFile& in, engine::ProgressBar& pb) {
    // Right after a decryption the engine knows the digest of what it wrote, as long as nobody touched the file.
    if (const auto known = engine::core::takeDigestIfUnchanged(target, in.state()))
        return engine::core::fingerprintText(*known);
    engine::core::Progress progress(pb, in.size());
    progress.beginStep(engine::msg::kStepFingerprint);
    std::string fingerprint = engine::core::fingerprintOfFile(in.descriptor(), &progress);
    progress.finish();
    return fingerprint;
}

}  // namespace

void hash(const std::string& path, engine::TextField& field) { hash(path, field, engine::core::noProgressBar()); }

void hash(const std::string& path, engine::TextField& field, engine::ProgressBar& pb) {
    const std::string target = engine::core::resolveRegularFile(path);
    const engine::core::InputFile in(target);
    const std::string fingerprint = digestOf(target, in, pb);
    // What was read is the file as opened: a flag given this fingerprint must find the file so.
    engine::core::rememberFingerprintedState(target, in.state(), fingerprint);
    field.setText(fingerprint);
}

}  // namespace VQ201
