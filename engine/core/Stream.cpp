// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/Stream.h"

#include "engine/Ports.h"
#include "engine/core/Header.h"
#include "engine/core/Messages.h"

namespace engine::core {

StreamSealer::StreamSealer(const SecretKey& key, std::span<const unsigned char> aad, std::uint32_t chunkSize,
                           ByteSink sink)
    : cipher_(key, aad), chunkSize_(chunkSize), sink_(std::move(sink)), sealed_(chunkSize + kTagSize) {
    pending_.reserve(chunkSize);
}

void StreamSealer::write(const unsigned char* data, std::size_t size) {
    while (size > 0) {
        // A full chunk is sealed only when more data follows, because the last chunk must carry the flag.
        if (pending_.size() == chunkSize_) emit(false);
        if (pending_.empty() && size > chunkSize_) {  // a whole chunk with more behind it: sealed where it lies
            seal(data, chunkSize_, false);
            data += chunkSize_;
            size -= chunkSize_;
            continue;
        }
        const std::size_t take = std::min<std::size_t>(size, chunkSize_ - pending_.size());
        pending_.insert(pending_.end(), data, data + take);
        data += take;
        size -= take;
    }
}

void StreamSealer::finish() {
    if (finished_) return;
    emit(true);
    finished_ = true;
}

void StreamSealer::emit(bool last) {
    seal(pending_.data(), pending_.size(), last);
    pending_.clear();
}

void StreamSealer::seal(const unsigned char* plain, std::size_t size, bool last) {
    cipher_.seal(index_++, last, plain, size, sealed_.data());
    sink_(sealed_.data(), size + kTagSize);
}

StreamOpener::StreamOpener(const SecretKey& key, std::span<const unsigned char> aad, std::uint32_t chunkSize,
                           ByteSink sink)
    : cipher_(key, aad), chunkSize_(chunkSize), sink_(std::move(sink)), plain_(chunkSize) {
    pending_.reserve(std::size_t{chunkSize} + kTagSize);
}

void StreamOpener::write(const unsigned char* data, std::size_t size) {
    const std::size_t stride = std::size_t{chunkSize_} + kTagSize;
    while (size > 0) {
        // A full chunk is known not to be the last only once a byte beyond it arrives.
        if (pending_.size() == stride) openChunk(stride, false);
        if (pending_.empty() && size > stride) {  // a whole chunk with more behind it: opened where it lies
            open(data, stride, false);
            data += stride;
            size -= stride;
            continue;
        }
        const std::size_t take = std::min(size, stride - pending_.size());
        pending_.insert(pending_.end(), data, data + take);
        data += take;
        size -= take;
    }
}

void StreamOpener::finish() {
    if (index_ > 0 && pending_.size() == kTagSize) throw Error(msg::kDamaged);  // empty last chunk after data
    openChunk(pending_.size(), true);
}

void StreamOpener::openChunk(std::size_t size, bool last) {
    open(pending_.data(), size, last);
    pending_.clear();
}

void StreamOpener::open(const unsigned char* sealed, std::size_t size, bool last) {
    if (!cipher_.open(index_++, last, sealed, size, plain_.data())) throw Error(msg::kDamaged);
    sink_(plain_.data(), size - kTagSize);
}

}  // namespace engine::core
