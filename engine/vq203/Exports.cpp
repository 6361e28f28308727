// SPDX-License-Identifier: GPL-3.0-or-later
// The exports of the current base that encrypt, decrypt and check keys.
#include "engine/VQ203.h"
#include "engine/core/Keys.h"
#include "engine/core/Layout.h"
#include "engine/core/Messages.h"
#include "engine/core/Progress.h"
#include "engine/vq203/Method.h"

namespace VQ203 {
void sifrovat(const std::string& path, const std::string& key, engine::ProgressBar& pb, engine::Window& window) {
    detail::encryptInPlace(path, key, detail::normalMethod(), pb);
    window.repaint();
}

void fastsifrovat(const std::string& path, const std::string& key, engine::ProgressBar& pb, engine::Window& window) {
    detail::encryptInPlace(path, key, detail::fastMethod(), pb);
    window.repaint();
}

void desifrovat(const std::string& path, const std::string& key, engine::ProgressBar& pb, engine::Window& window) {
    detail::decryptInPlace(path, key, pb);
    window.repaint();
}

void fastdesifrovat(const std::string& path, const std::string& key, engine::ProgressBar& pb, engine::Window& window) {
    detail::decryptInPlace(path, key, pb);
    window.repaint();
}

unsigned char passcheck(const std::string& path, const std::string& key) {
    return passcheck(path, key, engine::core::noProgressBar());
}

unsigned char passcheck(const std::string& path, const std::string& key, engine::ProgressBar& pb) {
    try {
        const std::string target = engine::core::resolveRegularFile(path);
        const engine::core::InputFile in(target);
        const engine::core::Header header = detail::readOurHeader(in);
        // A body no plaintext seals to is damaged: no key opens it, as desifrovatelnost and decryption agree.
        if (!engine::core::ChunkLayout{header.chunkSize}.plainSizeOf(in.size() - engine::core::kHeaderSize)) return 0;
        pb.beginStep(engine::msg::kStepDeriveKey);
        const engine::core::FileKeys keys = engine::core::deriveFileKeys(key, header);
        if (!engine::core::headerMacMatches(header, keys)) return 0;
        detail::keepCheckedKeys(target, header, key, keys);
        return 1;
    } catch (const engine::Cancelled&) {
        throw;  // the caller asked to stop: no answer, and surely not "wrong key"
    } catch (...) {
        return 0;  // missing, unreadable, not ours, or a cost above the cap
    }
}

}  // namespace VQ203
