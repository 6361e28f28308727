// Key material that wipes itself: derived keys never outlive their use in readable memory.
#pragma once

#include <openssl/crypto.h>

#include <cstddef>
#include <vector>

namespace engine::legacy {

class Secret {
public:
    explicit Secret(std::size_t size) : bytes_(size) {}
    ~Secret() { wipe(); }
    Secret(const Secret&) = delete;
    Secret& operator=(const Secret&) = delete;
    Secret(Secret&& other) noexcept : bytes_(std::move(other.bytes_)) {}
    Secret& operator=(Secret&&) = delete;

    unsigned char* data() { return bytes_.data(); }
    const unsigned char* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    const unsigned char* at(std::size_t offset) const { return bytes_.data() + offset; }

private:
    void wipe() {
        if (!bytes_.empty()) OPENSSL_cleanse(bytes_.data(), bytes_.size());
    }
    std::vector<unsigned char> bytes_;
};

}  // namespace engine::legacy
