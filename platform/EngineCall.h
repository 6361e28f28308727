// SPDX-License-Identifier: GPL-3.0-or-later
// Every call a window makes into the engine goes through callEngine. The call runs on a worker thread while
// the handler that made it waits for it: the GUI thread meanwhile runs a local event loop, so the windows
// repaint (the ports post what the engine shows to the GUI thread) and the window manager sees a live
// program. Clicks and keys given while the call runs are dropped, never replayed afterwards, so that one
// operation runs at a time and a stray click starts nothing. To the handler the call is as synchronous as
// a plain function call: it returns the engine's result or rethrows the engine's error.
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
void setEngineCallPauseForTesting(std::function<void()> pause);

}  // namespace platform
