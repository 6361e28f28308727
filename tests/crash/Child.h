// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a piece of work in a forked child, to its end or killed with SIGKILL after a delay. The parent only
// waits and watches the clock: whatever the work does to the disk, it does in the child alone.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/TestHooks.h"

namespace crash {

// A name that appeared in or left a watched folder (created, moved in or out, removed) while the child ran.
struct FolderEvent {
    std::chrono::duration<double> at;  // after the fork
    std::string name;
};

struct ChildEnd {
    enum How {
        Finished,  // the work returned
        Failed,    // the work threw; `message` says what
        Killed,    // our SIGKILL came first
        Crashed,   // died otherwise (a signal of its own, or it hung and was stopped)
    };
    How how = Crashed;
    std::string message;
    std::chrono::duration<double> took{};  // from the fork to the child's end
    std::vector<FolderEvent> folderEvents;  // runToEnd with a watched folder only
};

// The work runs with the key derivation cost of settings(), so that it takes a visible slice of the run.
// With `watched`, the parent also notes when names change in that folder: where in the run the work commits.
ChildEnd runToEnd(const std::function<void()>& work, const std::string& watched = {});
ChildEnd runKilledAfter(const std::function<void()>& work, std::chrono::duration<double> delay);
// The child kills itself (SIGKILL, as a power cut or the OOM killer would stop it) the first time the engine
// reaches `moment`; a run that never reaches it ends as Finished or Failed.
ChildEnd runKilledAt(const std::function<void()>& work, engine::core::Moment moment);

// Runs `work` to its end; "" when it finished, else what went wrong, prefixed with `what`.
std::string failureOf(const std::string& what, const std::function<void()>& work);

}  // namespace crash
