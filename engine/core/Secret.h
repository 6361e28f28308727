// SPDX-License-Identifier: GPL-3.0-or-later
// Key material that wipes itself: derived keys never outlive their use in readable memory, and live in
// locked pages of their own meanwhile (engine/core/LockedMemory.h).
#pragma once

#include <openssl/crypto.h>

#include <cstddef>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/LockedMemory.h"
#include "engine/core/Messages.h"

namespace engine::core {

class Secret {
public:
    explicit Secret(std::size_t size) : bytes_(size) {}
    // A copy of `size` bytes, such as a key text the caller wipes itself.
    Secret(const void* bytes, std::size_t size) : bytes_(size) {
        if (size > 0) std::memcpy(bytes_.data(), bytes, size);
    }
    ~Secret() { wipe(); }
    Secret(const Secret& other) = default;
    Secret(Secret&& other) noexcept : bytes_(std::move(other.bytes_)) {}
    // The old bytes are wiped before the buffer may be given back.
    Secret& operator=(const Secret& other) {
        if (this != &other) {
            wipe();
            bytes_ = other.bytes_;
        }
        return *this;
    }
    Secret& operator=(Secret&& other) noexcept {
        if (this != &other) {
            wipe();
            bytes_ = std::move(other.bytes_);
        }
        return *this;
    }

    unsigned char* data() { return bytes_.data(); }
    const unsigned char* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    const unsigned char* at(std::size_t offset) const { return bytes_.data() + offset; }
    std::string_view text() const { return {reinterpret_cast<const char*>(bytes_.data()), bytes_.size()}; }

private:
    void wipe() {
        if (!bytes_.empty()) OPENSSL_cleanse(bytes_.data(), bytes_.size());
    }
    std::vector<unsigned char, LockedAllocator<unsigned char>> bytes_;
};

// A key of the current base: always 32 bytes.
class SecretKey : public Secret {
public:
    static constexpr std::size_t kSize = 32;
    SecretKey() : Secret(kSize) {}
    // Takes over a derived secret, which must have the key's size.
    explicit SecretKey(Secret&& derived) : Secret(std::move(derived)) {
        if (size() != kSize) throw Error(msg::kCryptoFailure);
    }
};

}  // namespace engine::core
