// SPDX-License-Identifier: GPL-3.0-or-later
// Drives a progress bar from 0 to 100 as work is done: monotonic, and at most one update per percent.
#pragma once

#include <cstdint>

#include "engine/Ports.h"

namespace engine::core {

class Progress {
public:
    Progress(ProgressBar& bar, std::uint64_t total) : bar_(bar), total_(total) { bar_.setPosition(0); }
    void advanceTo(std::uint64_t done) {
        const int percent = total_ == 0 ? 100 : static_cast<int>(done >= total_ ? 100 : done * 100 / total_);
        if (percent > shown_) {
            shown_ = percent;
            bar_.setPosition(percent);
        }
    }
    void finish() { advanceTo(total_); }

private:
    ProgressBar& bar_;
    std::uint64_t total_;
    int shown_ = 0;
};

}  // namespace engine::core
