// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vq202/WriteBehind.h"

#include "engine/vq202/Package.h"

namespace VQ202::detail {

WriteBlock newWriteBlock() {
    auto block = std::make_shared<std::vector<unsigned char>>();
    block->reserve(kWriteBlock + kPackageChunkSize + engine::core::kTagSize);
    return block;
}

WriteBehind::WriteBehind(std::size_t maxQueuedBytes) : maxQueuedBytes_(maxQueuedBytes), thread_([this] { run(); }) {}

WriteBehind::~WriteBehind() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
        queuedBytes_ = 0;
    }
    changed_.notify_all();
    thread_.join();
}

void WriteBehind::post(std::function<void()> job, std::size_t bytes) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return failure_ || queuedBytes_ == 0 || queuedBytes_ + bytes <= maxQueuedBytes_; });
    if (failure_) std::rethrow_exception(failure_);
    jobs_.emplace_back(std::move(job), bytes);
    queuedBytes_ += bytes;
    changed_.notify_all();
}

void WriteBehind::drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return (jobs_.empty() && !running_) || failure_; });
    if (failure_) std::rethrow_exception(failure_);
}

void WriteBehind::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
        if (stopping_) return;
        auto [job, bytes] = std::move(jobs_.front());
        jobs_.pop_front();
        running_ = true;
        lock.unlock();
        std::exception_ptr failure;
        try {
            job();
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        running_ = false;
        if (stopping_) return;
        queuedBytes_ -= bytes;
        if (failure && !failure_) {
            failure_ = failure;
            jobs_.clear();
            queuedBytes_ = 0;
        }
        changed_.notify_all();
    }
}

}  // namespace VQ202::detail
