#include "engine/core/KnownDigest.h"

#include <mutex>

#include "engine/core/FileState.h"

namespace engine::core {
namespace {

struct Known {
    std::string path;
    struct stat asWritten;
    Sha256Digest digest;
};

std::mutex gMutex;
std::optional<Known> gKnown;  // one file: the one just written

}  // namespace

void rememberDigest(const std::string& resolvedPath, const struct stat& asWritten, const Sha256Digest& digest) {
    std::lock_guard lock(gMutex);
    gKnown = Known{resolvedPath, asWritten, digest};
}

std::optional<Sha256Digest> takeDigestIfUnchanged(const std::string& resolvedPath, const struct stat& now) {
    std::lock_guard lock(gMutex);
    std::optional<Known> known = std::move(gKnown);
    gKnown.reset();
    if (!known || known->path != resolvedPath || !unchangedSince(known->asWritten, now)) return std::nullopt;
    return known->digest;
}

}  // namespace engine::core
