// SPDX-License-Identifier: GPL-3.0-or-later
// What stopping costs, for bench/run_cancel_bench.sh:
//   cancel_bench check                      nanoseconds per cancel check while a stop can be asked for
//   cancel_bench run <operation> <file>     seconds of the operation under a live (never used) stop request,
//                                           as the windows run it
//   cancel_bench stop <operation> <file> <percent>
//                                           the stop asked for when the bar reaches `percent`: seconds from
//                                           the request until the call has returned, its temporary removed
// operation: sifrovat fastsifrovat desifrovat
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/NullControls.h"
#include "engine/VQ203.h"
#include "engine/core/Cancel.h"

namespace {

using Clock = std::chrono::steady_clock;
const std::string kKey = "benchmark key";

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void runOperation(const std::string& operation, const std::string& path, engine::ProgressBar& pb) {
    bench::NoWindow window;
    if (operation == "sifrovat") VQ203::sifrovat(path, kKey, pb, window);
    else if (operation == "fastsifrovat") VQ203::fastsifrovat(path, kKey, pb, window);
    else if (operation == "desifrovat") VQ203::desifrovat(path, kKey, pb, window);
    else throw std::invalid_argument("unknown operation " + operation);
}

// Asks for the stop as the bar reaches `percent`, as a click on Zrušit would from the GUI thread.
struct StoppingBar : engine::ProgressBar {
    StoppingBar(std::atomic<bool>& stop, int percent) : stop_(stop), percent_(percent) {}
    void setPosition(int percent) override {
        if (percent >= percent_ && !stop_) {
            asked = Clock::now();
            stop_ = true;
        }
    }
    Clock::time_point asked{};

private:
    std::atomic<bool>& stop_;
    int percent_;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    std::atomic<bool> stop{false};
    const engine::CancelScope scope(stop);
    try {
        if (mode == "check" && argc == 2) {
            constexpr long kRounds = 200'000'000;
            const auto start = Clock::now();
            for (long i = 0; i < kRounds; ++i) engine::core::stopIfCancelled();
            std::printf("%.3f\n", secondsSince(start) * 1e9 / static_cast<double>(kRounds));
        } else if (mode == "run" && argc == 4) {
            bench::Bar pb;
            const auto start = Clock::now();
            runOperation(argv[2], argv[3], pb);
            std::printf("%.3f\n", secondsSince(start));
        } else if (mode == "stop" && argc == 5) {
            StoppingBar pb(stop, std::atoi(argv[4]));
            try {
                runOperation(argv[2], argv[3], pb);
                std::fprintf(stderr, "the operation ended before it was stopped\n");
                return 1;
            } catch (const engine::Cancelled&) {
                std::printf("%.3f\n", secondsSince(pb.asked));
            }
        } else {
            std::fprintf(stderr, "usage: %s check | run operation file | stop operation file percent\n", argv[0]);
            return 2;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
