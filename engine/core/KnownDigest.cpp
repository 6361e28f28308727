// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/KnownDigest.h"

#include <mutex>

#include "engine/core/FileState.h"

namespace engine::core {
namespace {

struct Known {
    std::string path;
    FileState asWritten;
    Sha256Digest digest;
};

struct Fingerprinted {
    std::string path;
    FileState beforeReading;
    std::string fingerprint;
};

std::mutex gMutex;
std::optional<Known> gKnown;                  // one file: the one just written
std::optional<Fingerprinted> gFingerprinted;  // one file: the one fingerprinted last

}  // namespace

void rememberDigest(const std::string& resolvedPath, const FileState& asWritten, const Sha256Digest& digest) {
    std::lock_guard lock(gMutex);
    gKnown = Known{resolvedPath, asWritten, digest};
}

std::optional<Sha256Digest> takeDigestIfUnchanged(const std::string& resolvedPath, const FileState& now) {
    std::lock_guard lock(gMutex);
    std::optional<Known> known = std::move(gKnown);
    gKnown.reset();
    if (!known || known->path != resolvedPath || !unchangedSince(known->asWritten, now)) return std::nullopt;
    return known->digest;
}

void rememberFingerprintedState(const std::string& resolvedPath, const FileState& beforeReading,
                                const std::string& fingerprint) {
    std::lock_guard lock(gMutex);
    gFingerprinted = Fingerprinted{resolvedPath, beforeReading, fingerprint};
}

std::optional<FileState> takeFingerprintedState(const std::string& resolvedPath, const std::string& fingerprint) {
    std::lock_guard lock(gMutex);
    std::optional<Fingerprinted> taken = std::move(gFingerprinted);
    gFingerprinted.reset();
    if (!taken || taken->path != resolvedPath || taken->fingerprint != fingerprint) return std::nullopt;
    return taken->beforeReading;
}

}  // namespace engine::core
