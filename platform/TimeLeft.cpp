// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TimeLeft.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr auto kTooEarly = std::chrono::seconds(3);

}  // namespace

void TimeLeft::restart(Clock::time_point now) {
    start_ = now;
    left_.reset();
}

void TimeLeft::record(std::uint64_t done, std::uint64_t total, Clock::time_point now) {
    const auto elapsed = now - start_;
    if (elapsed < kTooEarly || done == 0 || done >= total) {
        left_.reset();
        return;
    }
    const double seconds = std::chrono::duration<double>(elapsed).count() * static_cast<double>(total - done) /
                           static_cast<double>(done);
    left_ = std::chrono::seconds(std::max<long long>(1, std::llround(seconds)));
}

std::string TimeLeft::text() const {
    if (!left_) return {};
    const long long seconds = left_->count();
    if (seconds < 60) return "zbývá asi " + std::to_string(seconds) + " s";
    const long long minutes = (seconds + 30) / 60;
    if (minutes < 60) return "zbývá asi " + std::to_string(minutes) + " min";
    const std::string hours = "zbývá asi " + std::to_string(minutes / 60) + " h";
    return minutes % 60 == 0 ? hours : hours + " " + std::to_string(minutes % 60) + " min";
}

}  // namespace platform
