// SHA-256 over data that arrives in pieces, and the same with the last bytes held back until the caller
// knows where the content ends (a decryption learns that only from the trailer at the very end).
#pragma once

#include <openssl/evp.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace engine::core {

using Sha256Digest = std::array<unsigned char, 32>;

class Sha256 {
public:
    Sha256();
    void update(const unsigned char* data, std::size_t size);
    Sha256Digest finish();

private:
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx_;
};

class TrailingSha256 {
public:
    explicit TrailingSha256(std::size_t heldBack) : heldBack_(heldBack) {}
    void update(const unsigned char* data, std::size_t size);
    // The digest of the first `contentSize` bytes given; nothing when that is not within the held-back tail.
    std::optional<Sha256Digest> finish(std::uint64_t contentSize);

private:
    std::size_t heldBack_;
    Sha256 sha_;
    std::uint64_t hashed_ = 0;
    std::vector<unsigned char> held_;
};

}  // namespace engine::core
