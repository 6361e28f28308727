// SPDX-License-Identifier: GPL-3.0-or-later
// File writes on one helper thread, in the order they were handed over, so that reading and the cipher go
// on while the disk takes the data. At most a few megabytes wait at a time, whatever the folder's size.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace VQ202::detail {

// The bytes of one write job: room for a write block and the piece that takes it past kWriteBlock, so that
// filling it never moves it.
using WriteBlock = std::shared_ptr<std::vector<unsigned char>>;
WriteBlock newWriteBlock();

class WriteBehind {
public:
    explicit WriteBehind(std::size_t maxQueuedBytes);
    // Drops what is still queued (a failed run: its files are removed anyway) and joins the thread.
    ~WriteBehind();
    WriteBehind(const WriteBehind&) = delete;
    WriteBehind& operator=(const WriteBehind&) = delete;

    // Queues `job`, which carries `bytes` of data, waiting while too much is queued. Rethrows the failure of
    // an earlier job; after a failure no further job runs.
    void post(std::function<void()> job, std::size_t bytes);
    // Waits until every queued job has run; rethrows the first failure.
    void drain();

private:
    void run();

    const std::size_t maxQueuedBytes_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<std::function<void()>, std::size_t>> jobs_;
    std::size_t queuedBytes_ = 0;
    bool running_ = false;   // a job is out of the queue and running
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;     // last: starts when everything above is ready
};

}  // namespace VQ202::detail
