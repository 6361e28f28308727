// SPDX-License-Identifier: GPL-3.0-or-later
// How long a step of work may take yet, from the bytes it has done at the rate it has kept since it began.
// In its first 3 s that rate says too little, so nothing is said then; nor once the step is done.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

class TimeLeft {
public:
    using Clock = std::chrono::steady_clock;

    // A step begins at `now`; what was estimated for the one before is forgotten.
    void restart(Clock::time_point now);
    // `done` of the step's `total` bytes at `now`.
    void record(std::uint64_t done, std::uint64_t total, Clock::time_point now);
    // "zbývá asi 12 s", "zbývá asi 2 min", "zbývá asi 1 h 5 min"; empty while there is nothing to say.
    std::string text() const;

private:
    Clock::time_point start_{};
    std::optional<std::chrono::seconds> left_;
};

}  // namespace platform
