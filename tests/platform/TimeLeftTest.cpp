// SPDX-License-Identifier: GPL-3.0-or-later
// The estimate of the time a step may take yet, on a clock the test sets.
#include <gtest/gtest.h>

#include "platform/TimeLeft.h"

namespace {

using platform::TimeLeft;
using std::chrono::milliseconds;
using std::chrono::seconds;

const TimeLeft::Clock::time_point kStart{};

TEST(TimeLeft, SaysNothingTooEarlyWithoutProgressOrAtTheEnd) {
    TimeLeft left;
    left.restart(kStart);
    left.record(900, 1000, kStart + milliseconds(2999));
    EXPECT_EQ(left.text(), "");
    left.record(0, 1000, kStart + seconds(10));
    EXPECT_EQ(left.text(), "");
    left.record(1000, 1000, kStart + seconds(10));
    EXPECT_EQ(left.text(), "");
}

TEST(TimeLeft, EstimatesAtTheRateSinceTheStepBeganInSecondsMinutesAndHours) {
    struct Case {
        std::uint64_t done, total;
        seconds at;
        const char* text;
    };
    const Case cases[] = {
        {200, 1000, seconds(3), "zbývá asi 12 s"},
        {999, 1000, seconds(3), "zbývá asi 1 s"},  // never "0 s" while work remains
        {400, 1000, seconds(40), "zbývá asi 1 min"},    // 60 s
        {100, 1000, seconds(10), "zbývá asi 2 min"},    // 90 s rounds up
        {1, 100, seconds(60), "zbývá asi 1 h 39 min"},  // 99 min
        {1, 121, seconds(60), "zbývá asi 2 h"},
    };
    for (const Case& c : cases) {
        TimeLeft left;
        left.restart(kStart);
        left.record(c.done, c.total, kStart + c.at);
        EXPECT_EQ(left.text(), c.text) << c.done << " of " << c.total;
    }
}

TEST(TimeLeft, ANewStepStartsAfresh) {
    TimeLeft left;
    left.restart(kStart);
    left.record(500, 1000, kStart + seconds(10));
    EXPECT_EQ(left.text(), "zbývá asi 10 s");
    left.restart(kStart + seconds(10));
    EXPECT_EQ(left.text(), "");
    left.record(500, 1000, kStart + seconds(12));
    EXPECT_EQ(left.text(), "") << "two seconds into the new step";
    left.record(750, 1000, kStart + seconds(16));
    EXPECT_EQ(left.text(), "zbývá asi 2 s");
}

}  // namespace
