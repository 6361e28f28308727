// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/WorkerPool.h"

namespace engine::core {

WorkerPool::WorkerPool(unsigned helpers) {
    for (unsigned w = 1; w <= helpers; ++w) helpers_.emplace_back(&WorkerPool::helperLoop, this, w);
}

WorkerPool::~WorkerPool() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (auto& helper : helpers_) helper.join();
}

void WorkerPool::run(std::uint64_t count, const Work& work) {
    if (count == 0) return;
    auto batch = std::make_shared<Batch>();
    batch->count = count;
    batch->work = &work;
    if (!helpers_.empty()) {
        {
            std::lock_guard lock(mutex_);
            current_ = batch;
            ++generation_;
        }
        wake_.notify_all();
    }
    drain(*batch, 0);
    // `work` lives in our caller's frame: wait until every chunk a helper took is finished. A helper that
    // wakes up later finds nothing left to take and never touches `work`.
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return batch->done.load() == count; });
}

void WorkerPool::drain(Batch& batch, unsigned worker) {
    for (std::uint64_t i = batch.next++; i < batch.count; i = batch.next++) {
        (*batch.work)(worker, i);
        if (++batch.done == batch.count) {
            std::lock_guard lock(mutex_);
            finished_.notify_all();
        }
    }
}

void WorkerPool::helperLoop(unsigned worker) {
    std::uint64_t seen = 0;
    for (;;) {
        std::shared_ptr<Batch> batch;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || generation_ != seen; });
            if (stopping_) return;
            seen = generation_;
            batch = current_;
        }
        drain(*batch, worker);
    }
}

}  // namespace engine::core
