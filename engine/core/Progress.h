// SPDX-License-Identifier: GPL-3.0-or-later
// Drives a progress bar from 0 to 100 as work is done: monotonic, and at most one update per percent, which
// also carries the bytes done. A step names what the work does meanwhile (Messages.h, kStep…).
// Every report of work done is also where the work stops when its caller asked it to (Cancel.h).
#pragma once

#include <cstdint>

#include "engine/Ports.h"
#include "engine/core/Cancel.h"

namespace engine::core {

class Progress {
public:
    Progress(ProgressBar& bar, std::uint64_t total) : bar_(bar), total_(total) {
        stopIfCancelled();
        bar_.setPosition(0);
    }
    // What the work does from now on; the bar goes on where it is.
    void beginStep(const char* text) { bar_.beginStep(text); }
    void advanceTo(std::uint64_t done) {
        stopIfCancelled();
        show(done);
    }
    // The work is complete: no longer stoppable.
    void finish() { show(total_); }

private:
    void show(std::uint64_t done) {
        const int percent = total_ == 0 ? 100 : static_cast<int>(done >= total_ ? 100 : done * 100 / total_);
        if (percent > shown_) {
            shown_ = percent;
            bar_.setPosition(percent);
            bar_.bytesDone(done >= total_ ? total_ : done, total_);
        }
    }
    ProgressBar& bar_;
    const std::uint64_t total_;
    int shown_ = 0;
};

// For the calls whose caller shows no progress.
inline ProgressBar& noProgressBar() {
    class NoBar final : public ProgressBar {
        void setPosition(int) override {}
    };
    static NoBar bar;
    return bar;
}

}  // namespace engine::core
