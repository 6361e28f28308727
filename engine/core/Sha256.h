// SPDX-License-Identifier: GPL-3.0-or-later
// SHA-256 over data that arrives in pieces, and over what an open file holds.
#pragma once

#include <openssl/evp.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace engine::core {

class Progress;

using Sha256Digest = std::array<unsigned char, 32>;

class Sha256 {
public:
    Sha256();
    void update(const unsigned char* data, std::size_t size);
    Sha256Digest finish();

private:
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx_;
};

// The digest of the file's bytes from its start up to `limit` or its end, whichever comes first, read with
// pread (the descriptor's position is left alone); throws engine::Error(kCannotRead) when reading fails.
// `progress`, if given, is advanced by the bytes read.
struct FileDigest {
    Sha256Digest digest;
    std::uint64_t bytes;  // how many were read
};
FileDigest sha256OfFile(int fd, std::uint64_t limit = UINT64_MAX, Progress* progress = nullptr);

// A file's fingerprint as `hash` gives it: the SHA-256 of its whole content in lowercase hex.
std::string fingerprintText(const Sha256Digest& digest);
std::string fingerprintOfFile(int fd, Progress* progress = nullptr);

}  // namespace engine::core
