// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/Background.h"

#include <openssl/crypto.h>

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace engine::core {
namespace {

struct Pending {
    std::mutex mutex;
    std::condition_variable ended;
    unsigned running[2] = {0, 0};  // by kind
};

unsigned& runningOf(Pending& state, Background kind) { return state.running[static_cast<int>(kind)]; }

// Never destroyed: a thread may still be ending while the program's statics go.
Pending& pending() {
    static Pending* const state = new Pending;
    return *state;
}

// Made with the first work handed over, once OpenSSL has registered its clean-up at exit: statics and exit
// handlers go in the reverse order of their making, so this waits before OpenSSL cleans up.
struct WaitAtExit {
    WaitAtExit() { OPENSSL_init_crypto(0, nullptr); }
    ~WaitAtExit() { waitForAllBackgroundWork(); }
};

}  // namespace

void finishInBackground(Background kind, std::function<void()> work) {
    static WaitAtExit waitAtExit;
    auto held = std::make_shared<std::function<void()>>(std::move(work));
    auto run = [held, kind] {
        try {
            (*held)();
        } catch (...) {
            // Nobody waits for an answer.
        }
        *held = nullptr;  // what the work holds goes before it counts as ended
        Pending& ending = pending();
        std::lock_guard lock(ending.mutex);
        --runningOf(ending, kind);
        ending.ended.notify_all();
    };
    Pending& state = pending();
    {
        std::lock_guard lock(state.mutex);
        ++runningOf(state, kind);
    }
    try {
        std::thread(run).detach();
    } catch (const std::system_error&) {
        run();  // no thread to be had: the caller waits, as it did before
    }
}

void waitForBackgroundWork(Background kind) {
    Pending& state = pending();
    std::unique_lock lock(state.mutex);
    state.ended.wait(lock, [&] { return runningOf(state, kind) == 0; });
}

void waitForAllBackgroundWork() {
    waitForBackgroundWork(Background::Deriving);
    waitForBackgroundWork(Background::Freeing);
}

}  // namespace engine::core
