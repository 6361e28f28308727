// SPDX-License-Identifier: GPL-3.0-or-later
// The file flag: the fingerprint given to priznak_pridat travels inside the encrypted file, as a small trailer
// sealed after the content (docs/FORMAT.md, "File flag"). The user's plain file is never changed for it: the
// encryption that follows takes the fingerprint from here, and the decryption takes the trailer off before
// its result goes into place and leaves the fingerprint here for priznak_odebrat.
#include <array>
#include <cstring>
#include <map>
#include <mutex>

#include "engine/VQ203.h"
#include "engine/core/FileAccess.h"
#include "engine/core/FileIO.h"
#include "engine/core/FileState.h"
#include "engine/core/KnownDigest.h"
#include "engine/core/Messages.h"
#include "engine/core/Sha256.h"
#include "engine/vq203/Method.h"

namespace VQ203 {
namespace {

using engine::Error;
namespace msg = engine::msg;

constexpr std::array<unsigned char, 8> kFlagMagic{'M', 'V', 'X', 'F', 'L', 'A', 'G', 1};

struct GivenFlag {
    std::string fingerprint;
    engine::core::FileState fileAsGiven;  // the fingerprint is of this content: the encryption must find the file so
};

std::mutex gMutex;
std::map<std::string, GivenFlag> gGiven;       // resolved path -> flag for the coming encryption
std::map<std::string, std::string> gRemoved;   // resolved path -> fingerprint the last decryption found

// A fingerprint that hash gave for this file is of the file as hash opened it. Changed since, the file is
// read once more: the same content binds the flag to the file as it is now, other content to the state the
// fingerprint was of, which the encryption then refuses. A fingerprint from elsewhere binds to the file now.
engine::core::FileState stateTheFingerprintIsOf(const std::string& resolvedPath, const std::string& fingerprint,
                                                const engine::core::InputFile& now) {
    const auto fingerprinted = engine::core::takeFingerprintedState(resolvedPath, fingerprint);
    if (!fingerprinted || engine::core::unchangedSince(*fingerprinted, now.state())) return now.state();
    return engine::core::fingerprintOfFile(now.descriptor()) == fingerprint ? now.state() : *fingerprinted;
}

}  // namespace

namespace detail {

std::vector<unsigned char> flagTrailer(const std::string& fingerprint) {
    std::vector<unsigned char> trailer(fingerprint.begin(), fingerprint.end());
    trailer.push_back(static_cast<unsigned char>(fingerprint.size() >> 8));
    trailer.push_back(static_cast<unsigned char>(fingerprint.size() & 0xff));
    trailer.insert(trailer.end(), kFlagMagic.begin(), kFlagMagic.end());
    return trailer;
}

std::optional<FoundFlag> findFlag(int fd, std::uint64_t size) {
    std::array<unsigned char, kFlagTrailerFixed> tail{};
    if (size < tail.size() || !engine::core::readExactlyAt(fd, tail.data(), tail.size(), size - tail.size()))
        return std::nullopt;
    if (std::memcmp(tail.data() + 2, kFlagMagic.data(), kFlagMagic.size()) != 0) return std::nullopt;
    const std::size_t length = (std::size_t{tail[0]} << 8) | tail[1];
    if (length > kMaxFingerprint || size < tail.size() + length) return std::nullopt;
    FoundFlag flag;
    flag.contentSize = size - tail.size() - length;
    flag.fingerprint.resize(length);
    if (!engine::core::readExactlyAt(fd, flag.fingerprint.data(), length, flag.contentSize)) return std::nullopt;
    return flag;
}

std::string takeGivenFlag(const std::string& resolvedPath, const engine::core::InputFile& in) {
    std::lock_guard lock(gMutex);
    const auto it = gGiven.find(resolvedPath);
    if (it == gGiven.end()) return {};
    GivenFlag given = std::move(it->second);
    gGiven.erase(it);
    // Written to after its fingerprint was taken: sealing it with that fingerprint would report the
    // user's own edit as damage on decryption.
    if (!engine::core::unchangedSince(given.fileAsGiven, in.state())) throw Error(msg::kChangedMeanwhile);
    return given.fingerprint;
}

void keepRemovedFlag(const std::string& resolvedPath, const std::string& fingerprint) {
    std::lock_guard lock(gMutex);
    gRemoved[resolvedPath] = fingerprint;
}

}  // namespace detail

void priznak_pridat(const std::string& fingerprint, const std::string& path, engine::ProgressBar& pb) {
    pb.setPosition(0);
    if (fingerprint.size() > detail::kMaxFingerprint) throw Error(msg::kDamaged);
    const std::string target = engine::core::resolveRegularFile(path);
    const engine::core::InputFile in(target);
    {
        std::lock_guard lock(gMutex);
        gGiven[target] = GivenFlag{fingerprint, stateTheFingerprintIsOf(target, fingerprint, in)};
    }
    pb.setPosition(100);
}

void priznak_odebrat(engine::TextField& buffer, const std::string& path, engine::ProgressBar& pb) {
    pb.setPosition(0);
    const std::string target = engine::core::resolveRegularFile(path);
    std::string fingerprint;
    {
        std::lock_guard lock(gMutex);
        if (const auto it = gRemoved.find(target); it != gRemoved.end()) {
            fingerprint = std::move(it->second);
            gRemoved.erase(it);
        }
    }
    pb.setPosition(100);
    buffer.setText(fingerprint);
}

}  // namespace VQ203
