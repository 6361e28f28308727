// SPDX-License-Identifier: GPL-3.0-or-later
// Work whose end the engine's caller need not wait for: a key derivation that a stop request left running
// (OpenSSL cannot stop one halfway), and the closing of an abandoned result, which waits for the disk. It
// runs on threads of its own; the next check of free space waits for the freeing (the space is then given
// back), and the end of the program waits for all of it, before OpenSSL cleans up behind a derivation.
#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <memory>

#include "engine/core/Cancel.h"

namespace engine::core {

enum class Background { Deriving, Freeing };

void finishInBackground(Background kind, std::function<void()> work);
// Returns once all work of that kind handed over so far has ended. A process forked meanwhile would wait for
// threads it does not have: the engine never forks.
void waitForBackgroundWork(Background kind);
void waitForAllBackgroundWork();

// Starts a derivation in the background. Unlike std::async's, the future may be dropped unwaited: the work then
// ends by itself and its result goes with it unseen (a Secret wipes itself).
template <class Result>
std::future<Result> startInBackground(std::function<Result()> work) {
    auto task = std::make_shared<std::packaged_task<Result()>>(std::move(work));
    std::future<Result> result = task->get_future();
    finishInBackground(Background::Deriving, [task] { (*task)(); });
    return result;
}

// Waits for `result`, looking for a stop request all the while (Cancel.h): a stop throws Cancelled at once and
// leaves the work to end by itself.
template <class Result>
Result awaitUnlessStopped(std::future<Result>& result) {
    constexpr auto kLookEvery = std::chrono::milliseconds(10);
    while (result.wait_for(kLookEvery) != std::future_status::ready) stopIfCancelled();
    return result.get();
}

}  // namespace engine::core
