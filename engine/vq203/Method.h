// The two methods of this base and the in-place work they share. Internal to VQ203.
#pragma once

#include <optional>
#include <string>

#include "engine/Ports.h"
#include "engine/core/FileIO.h"
#include "engine/core/Header.h"
#include "engine/core/Keys.h"

namespace VQ203::detail {

// Normal: 64 KiB chunks, the cipher on one core. Fast: 1 MiB chunks (fewer tags and cipher set-ups), the
// cipher shared out over the cores the reader and writer threads leave free. Both are the same
// authenticated encryption; the magic says which one made a file.
struct Method {
    engine::core::Magic magic;
    std::uint32_t chunkSize;
    unsigned workers;
};
Method normalMethod();
Method fastMethod();

void encryptInPlace(const std::string& path, const std::string& key, const Method& method, engine::ProgressBar& pb);
// Takes files of either method: the header says how they were made.
void decryptInPlace(const std::string& path, const std::string& key, engine::ProgressBar& pb);

// Reads and parses the header of a file of this base; throws the engine::Error that fits what is wrong.
engine::core::Header readOurHeader(const engine::core::InputFile& in);

// The flag that priznak_pridat added in this process, taken off again when the encryption that was meant
// to follow it fails.
void rememberAddedFlag(const std::string& resolvedPath, std::uint64_t sizeWithFlag);
void forgetAddedFlag(const std::string& resolvedPath);
void undoAddedFlag(const std::string& resolvedPath) noexcept;

// The keys a passcheck found right, handed once to the decryption of the same file with the same key.
void keepCheckedKeys(const std::string& resolvedPath, const engine::core::Header& header, const std::string& key,
                     const engine::core::FileKeys& keys);
std::optional<engine::core::FileKeys> takeCheckedKeys(const std::string& resolvedPath,
                                                      const engine::core::Header& header, const std::string& key);

}  // namespace VQ203::detail
