// SPDX-License-Identifier: GPL-3.0-or-later
// Shares the chunks of one batch out over the calling thread and a few helper threads that live as long as
// the pool, so that a batch never waits for a thread to be created or scheduled just to start: the caller
// works through the batch itself and waits only for chunks a helper has already taken.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace engine::core {

class WorkerPool {
public:
    // work(worker, index): worker 0 is the calling thread, 1..helpers the helpers. It must not throw.
    using Work = std::function<void(unsigned worker, std::uint64_t index)>;

    explicit WorkerPool(unsigned helpers);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // Runs work for every index in [0, count) and returns when all are done.
    void run(std::uint64_t count, const Work& work);

private:
    struct Batch {
        std::uint64_t count = 0;
        const Work* work = nullptr;
        std::atomic<std::uint64_t> next{0};
        std::atomic<std::uint64_t> done{0};
    };
    void drain(Batch& batch, unsigned worker);
    void helperLoop(unsigned worker);

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    std::shared_ptr<Batch> current_;
    std::uint64_t generation_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> helpers_;
};

}  // namespace engine::core
