// SPDX-License-Identifier: GPL-3.0-or-later
// sifrovat / fastsifrovat / desifrovat / fastdesifrovat: the whole file through the chunk stream into a
// temporary file beside it, renamed over the original only when everything has been written (and, when
// decrypting, authenticated).
#include <algorithm>
#include <thread>

#include "engine/core/Cancel.h"
#include "engine/core/ChunkedFile.h"
#include "engine/core/FileAccess.h"
#include "engine/core/FollowingDigest.h"
#include "engine/core/Keys.h"
#include "engine/core/KnownDigest.h"
#include "engine/core/Layout.h"
#include "engine/core/Messages.h"
#include "engine/vq203/Method.h"

namespace VQ203::detail {

using namespace engine::core;
using engine::Error;
namespace msg = engine::msg;

Method normalMethod() { return Method{kMagicNormal, kDefaultChunkSize, 1}; }

// AES-GCM runs at several GB/s a core; what costs time is copying through the page cache and the disk. The
// reader and the writer thread take a core each, so the cipher gets the cores beyond those two: sharing it
// out on a two-core machine was measured to make the whole slower, not faster.
Method fastMethod() {
    const unsigned cores = std::thread::hardware_concurrency();
    return Method{kMagicFast, 1u << 20, std::clamp(cores > 2 ? cores - 2 : 1u, 1u, 16u)};
}

Header readOurHeader(const InputFile& in) {
    Header::Bytes bytes{};
    const std::size_t got = in.readAt(bytes.data(), bytes.size(), 0);
    Header header;
    switch (parseHeader(bytes.data(), got, {kMagicNormal, kMagicFast, kMagicNormalV1, kMagicFastV1}, header)) {
        case HeaderStatus::Ok: return header;
        case HeaderStatus::WrongMagic: throw Error(msg::kNotOurFile);
        case HeaderStatus::Malformed: throw Error(msg::kDamaged);
        case HeaderStatus::KdfTooCostly: throw Error(msg::kKdfTooCostly);
    }
    throw Error(msg::kDamaged);
}

bool isFast(const Magic& magic) { return magic == kMagicFast || magic == kMagicFastV1; }

void encryptInPlace(const std::string& path, const std::string& key, const Method& method, engine::ProgressBar& pb) {
    if (key.empty()) throw Error(msg::kEmptyKey);
    const PlacedFile file = placeRegularFile(path);
    const std::string& target = file.path;
    InputFile in(file.folder, file.name);
    // The flag goes inside the encrypted file, sealed after the content: the plain file is never touched.
    const std::vector<unsigned char> flag = flagTrailer(takeGivenFlag(target, in));
    const std::uint64_t plainSize = in.size() + flag.size();
    Progress progress(pb, plainSize);
    // Space and rights first: a full disk is reported before the KDF has cost any time.
    ReplacementFile out(file.folder, file.name, kHeaderSize + ChunkLayout{method.chunkSize}.sealedSize(plainSize));
    Header header = newHeader(method.magic, method.chunkSize);
    progress.beginStep(msg::kStepDeriveKey);
    auto prepared = takePreparedKey(target, key);
    if (prepared) {
        header.kdf = prepared->params;
        header.kdfSalt = prepared->kdfSalt;
    }
    const FileKeys keys = prepared ? fileKeys(prepared->master, header) : deriveFileKeys(key, header);
    prepared.reset();
    sealHeader(header, keys);
    const Header::Bytes headerBytes = header.serialize();
    out.writeAt(headerBytes.data(), headerBytes.size(), 0);
    progress.beginStep(msg::kStepEncrypt);
    const std::uint64_t sealed = sealBody(BodyJob{in, 0, out, kHeaderSize, keys.stream, headerBytes, method.chunkSize,
                                                  method.workers, progress, flag},
                                          plainSize);
    stopIfCancelled();
    out.commit(kHeaderSize + sealed, in);
    progress.finish();
}

void decryptInPlace(const std::string& path, const std::string& key, engine::ProgressBar& pb) {
    const PlacedFile file = placeRegularFile(path);
    const std::string& target = file.path;
    InputFile in(file.folder, file.name);
    Progress progress(pb, in.size());
    const Header header = readOurHeader(in);
    const auto plainSize = ChunkLayout{header.chunkSize}.plainSizeOf(in.size() - kHeaderSize);
    if (!plainSize) throw Error(msg::kDamaged);  // readOurHeader made sure the header is all there
    if (key.empty()) throw Error(msg::kWrongKey);
    const auto checked = takeCheckedKeys(target, header, key);
    if (!checked) progress.beginStep(msg::kStepDeriveKey);
    const FileKeys keys = checked ? *checked : deriveFileKeys(key, header);
    if (!headerMacMatches(header, keys)) throw Error(msg::kWrongKey);
    const Header::Bytes headerBytes = header.serialize();

    ReplacementFile out(file.folder, file.name, *plainSize);
    const unsigned workers = isFast(header.magic) ? fastMethod().workers : 1;
    // The fingerprint of the result is taken behind the writing, up to where the flag may begin; the few
    // bytes after that once the flag is found. What is left of it runs while the result is made durable, and
    // the fingerprint step after the decryption needs no second pass over the file.
    const std::uint64_t surelyContent =
        *plainSize - std::min<std::uint64_t>(*plainSize, kFlagTrailerFixed + kMaxFingerprint);
    FollowingDigest fingerprint(out.descriptor(), surelyContent);
    BodyJob job{in, kHeaderSize, out, 0, keys.stream, headerBytes, header.chunkSize, workers, progress};
    job.outputDigest = &fingerprint;
    progress.beginStep(msg::kStepDecrypt);
    const std::uint64_t written = openBody(job, in.size() - kHeaderSize);
    // The flag was authenticated with the content; it is taken off before the result goes into place, so that
    // the plain file appears exactly as it was encrypted. Files of version 1 may carry one the same way.
    const auto flag = findFlag(out.descriptor(), written);
    const bool flagRequired = header.magic == kMagicNormal || header.magic == kMagicFast;
    if (!flag && flagRequired) throw Error(msg::kDamaged);
    const std::uint64_t contentSize = flag ? flag->contentSize : written;
    std::vector<unsigned char> lastContent(contentSize - std::min(contentSize, surelyContent));
    if (!readExactlyAt(out.descriptor(), lastContent.data(), lastContent.size(), surelyContent))
        throw Error(msg::kCannotRead);
    progress.beginStep(msg::kStepVerify);
    stopIfCancelled();
    out.commit(contentSize, in);
    keepRemovedFlag(target, flag ? flag->fingerprint : std::string());
    // Only remembered: a fingerprint that could not be read back is taken again when it is asked for.
    const auto digest = fingerprint.finish(lastContent);
    if (digest && contentSize >= surelyContent) rememberDigest(target, out.committedState(), *digest);
    progress.finish();
}

}  // namespace VQ203::detail
