// Key material that wipes itself when it goes out of scope.
#pragma once

#include <openssl/crypto.h>

#include <array>
#include <cstddef>

namespace engine::core {

class SecretKey {
public:
    static constexpr std::size_t kSize = 32;
    SecretKey() = default;
    ~SecretKey() { OPENSSL_cleanse(bytes_.data(), bytes_.size()); }
    SecretKey(const SecretKey& other) = default;
    SecretKey& operator=(const SecretKey& other) = default;

    unsigned char* data() { return bytes_.data(); }
    const unsigned char* data() const { return bytes_.data(); }
    static constexpr std::size_t size() { return kSize; }

private:
    std::array<unsigned char, kSize> bytes_{};
};

}  // namespace engine::core
