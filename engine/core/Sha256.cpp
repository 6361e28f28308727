#include "engine/core/Sha256.h"

#include "engine/Ports.h"
#include "engine/core/Messages.h"

namespace engine::core {

Sha256::Sha256() : ctx_(EVP_MD_CTX_new(), EVP_MD_CTX_free) {
    if (!ctx_ || EVP_DigestInit_ex(ctx_.get(), EVP_sha256(), nullptr) != 1) throw Error(msg::kCryptoFailure);
}

void Sha256::update(const unsigned char* data, std::size_t size) {
    if (size > 0 && EVP_DigestUpdate(ctx_.get(), data, size) != 1) throw Error(msg::kCryptoFailure);
}

Sha256Digest Sha256::finish() {
    Sha256Digest digest{};
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(ctx_.get(), digest.data(), &length) != 1 || length != digest.size())
        throw Error(msg::kCryptoFailure);
    return digest;
}

void TrailingSha256::update(const unsigned char* data, std::size_t size) {
    if (size >= heldBack_) {
        sha_.update(held_.data(), held_.size());
        sha_.update(data, size - heldBack_);
        hashed_ += held_.size() + (size - heldBack_);
        held_.assign(data + size - heldBack_, data + size);
        return;
    }
    held_.insert(held_.end(), data, data + size);
    if (held_.size() > heldBack_) {
        const std::size_t surplus = held_.size() - heldBack_;
        sha_.update(held_.data(), surplus);
        hashed_ += surplus;
        held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(surplus));
    }
}

std::optional<Sha256Digest> TrailingSha256::finish(std::uint64_t contentSize) {
    if (contentSize < hashed_ || contentSize - hashed_ > held_.size()) return std::nullopt;
    sha_.update(held_.data(), static_cast<std::size_t>(contentSize - hashed_));
    return sha_.finish();
}

}  // namespace engine::core
