// SPDX-License-Identifier: GPL-3.0-or-later
// Every call a window makes into the engine goes through callEngine. The call runs on a worker thread while
// the handler that made it waits for it: the GUI thread meanwhile runs a local event loop, so the windows
// repaint (the ports post what the engine shows to the GUI thread) and the window manager sees a live
// program. Clicks and keys given while the call runs are dropped, never replayed afterwards, so that one
// operation runs at a time and a stray click starts nothing. To the handler the call is as synchronous as
// a plain function call: it returns the engine's result or rethrows the engine's error.
//
// The one input that does get through is a request to stop: Esc in any of the program's windows, a click on a
// "Zrušit" button (platform/StopButton.h), or the close box of a window, which asks first and closes the
// window once the call has ended. The engine then ends the call with engine::Cancelled, having left the
// user's files as they were, unless it was already past the point where its result replaced them.
#pragma once

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

namespace platform {

// Runs `call` as described above; on any thread but the GUI thread, or without an application, it simply
// runs it.
void runEngineCall(const std::function<void()>& call);

template <class Call>
auto callEngine(Call&& call) {
    using Result = std::invoke_result_t<Call&>;
    if constexpr (std::is_void_v<Result>) {
        runEngineCall([&] { call(); });
    } else {
        std::optional<Result> result;
        runEngineCall([&] { result.emplace(call()); });
        return std::move(*result);
    }
}

// For tests: `pause` runs on the worker thread just before each engine call (empty: none), so that a test
// can act while a call is under way.
// Asks the engine call that runs now to stop, and those that follow it within the same handler: a call that
// cannot stop (or was past the point of no return) completes, and the next one that can stops at its start.
void requestEngineStop();
bool engineCallRunning();
// A user action that begins while no call runs starts afresh: a request that came too late for the
// operation it was meant for is forgotten (called for each event the application delivers at its top level).
void forgetEngineStopRequest();

void setEngineCallPauseForTesting(std::function<void()> pause);

}  // namespace platform
