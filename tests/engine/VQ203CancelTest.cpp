// SPDX-License-Identifier: GPL-3.0-or-later
// Stopping single-file work on request: before the result replaces the file, the file stays byte for byte
// as it was and nothing is left beside it; after that point the work completes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "engine/VQ201.h"
#include "engine/VQ203.h"
#include "engine/core/Background.h"
#include "engine/core/Kdf.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/TempDir.h"

using testutil::FakeBar;
using testutil::FakeWindow;
using testutil::TempDir;

namespace {

using Operation = std::function<void(const std::string& path, engine::ProgressBar& bar)>;

struct Named {
    const char* name;
    bool encrypted;  // works on an encrypted file
    Operation run;
};

const Named kOperations[] = {
    {"sifrovat", false, [](const std::string& p, engine::ProgressBar& b) { FakeWindow w; VQ203::sifrovat(p, "k", b, w); }},
    {"fastsifrovat", false, [](const std::string& p, engine::ProgressBar& b) { FakeWindow w; VQ203::fastsifrovat(p, "k", b, w); }},
    {"desifrovat", true, [](const std::string& p, engine::ProgressBar& b) { FakeWindow w; VQ203::desifrovat(p, "k", b, w); }},
    {"fastdesifrovat", true, [](const std::string& p, engine::ProgressBar& b) { FakeWindow w; VQ203::fastdesifrovat(p, "k", b, w); }},
};

class Cancel : public ::testing::Test {
protected:
    void SetUp() override { engine::core::setScryptCostForTesting(10); }
    void TearDown() override { engine::core::setMomentHookForTesting({}); }

    // A file of several batches of work, encrypted when the operation needs that.
    std::vector<unsigned char> prepare(const Named& op) {
        testutil::writeFile(path, testutil::randomBytes(9u << 20, 7));
        FakeBar bar;
        FakeWindow window;
        if (op.encrypted) {
            if (std::string(op.name) == "fastdesifrovat") VQ203::fastsifrovat(path, "k", bar, window);
            else VQ203::sifrovat(path, "k", bar, window);
        }
        return testutil::readFile(path);
    }

    TempDir dir;
    const std::string path = dir.file("a.bin");
};

// Holds each password stretching at its start until the test lets it go, and tells afterwards whether every
// one was let go by the test, that is whether the caller had come back while its derivation still ran.
class HeldDerivations {
public:
    HeldDerivations() {
        engine::core::setMomentHookForTesting([this](engine::core::Moment moment) {
            if (moment != engine::core::Moment::KeyDerivation) return;
            std::unique_lock lock(mutex_);
            ++started_;
            changed_.notify_all();
            // Bounded: an engine that waits for the derivation fails the test instead of hanging it.
            if (!changed_.wait_for(lock, std::chrono::seconds(30), [this] { return released_; })) heldOut_ = true;
        });
    }
    ~HeldDerivations() { endAll(); }
    void waitUntilStarted() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return started_ > 0; });
    }
    // Lets them go and waits until they have ended; false when one had to end without being let go.
    bool endAll() {
        {
            std::lock_guard lock(mutex_);
            released_ = true;
            changed_.notify_all();
        }
        engine::core::waitForAllBackgroundWork();
        engine::core::setMomentHookForTesting({});
        std::lock_guard lock(mutex_);
        return !heldOut_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int started_ = 0;
    bool released_ = false;
    bool heldOut_ = false;
};

// Asks to stop as soon as the key step begins.
class StopAtTheKeyStep : public FakeBar {
public:
    explicit StopAtTheKeyStep(std::atomic<bool>& requested) : requested_(requested) {}
    void beginStep(const std::string& utf8) override {
        FakeBar::beginStep(utf8);
        if (utf8 == engine::msg::kStepDeriveKey) requested_ = true;
    }

private:
    std::atomic<bool>& requested_;
};

}  // namespace

TEST_F(Cancel, AtAnyChunkLeavesTheFileAsItWasAndNothingBesideIt) {
    for (const Named& op : kOperations) {
        for (const int atPercent : {0, 37, 80, 99}) {
            SCOPED_TRACE(std::string(op.name) + " at " + std::to_string(atPercent) + " %");
            const auto before = prepare(op);
            std::atomic<bool> requested{false};
            const engine::CancelScope scope(requested);
            FakeBar bar;
            bar.onPosition = [&](int percent) { requested = requested || percent >= atPercent; };
            try {
                op.run(path, bar);
                ADD_FAILURE() << "finished although asked to stop";
            } catch (const engine::Cancelled& cancelled) {
                EXPECT_STREQ(cancelled.what(), engine::msg::kCancelled);
            }
            EXPECT_EQ(testutil::readFile(path), before);
            EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.bin"});
        }
    }
}

TEST_F(Cancel, OnceTheResultIsInPlaceTheWorkCompletes) {
    for (const Named& op : kOperations) {
        SCOPED_TRACE(op.name);
        const auto before = prepare(op);
        std::atomic<bool> requested{false};
        engine::core::setMomentHookForTesting([&](engine::core::Moment moment) {
            if (moment == engine::core::Moment::ResultNamed) requested = true;
        });
        const engine::CancelScope scope(requested);
        FakeBar bar;
        op.run(path, bar);
        engine::core::setMomentHookForTesting({});
        EXPECT_TRUE(requested);
        EXPECT_NE(testutil::readFile(path), before);
        EXPECT_EQ(bar.positions.back(), 100);
        EXPECT_EQ(VQ203::desifrovatelnost(path) > 0, !op.encrypted) << "the complete result, not a half state";
    }
}

TEST_F(Cancel, OnlyTheThreadThatLentItsRequestIsStopped) {
    const auto before = prepare(kOperations[0]);
    std::atomic<bool> requested{true};
    {
        const engine::CancelScope scope(requested);
    }
    FakeBar bar;
    kOperations[0].run(path, bar);  // the scope is gone: nothing asks this run to stop
    EXPECT_NE(testutil::readFile(path), before);
}

TEST_F(Cancel, TheFingerprintAndTheKeyDerivationStopToo) {
    testutil::writeFile(path, testutil::randomBytes(3u << 20, 3));
    FakeBar bar;
    FakeWindow window;
    VQ203::sifrovat(path, "k", bar, window);
    std::atomic<bool> requested{true};
    const engine::CancelScope scope(requested);
    testutil::FakeField field("před");
    EXPECT_THROW(VQ201::hash(path, field), engine::Cancelled);
    EXPECT_EQ(field.text(), "před");
    EXPECT_THROW(VQ203::passcheck(path, "k"), engine::Cancelled) << "a stop is no wrong key";
    const unsigned char salt[16] = {};
    EXPECT_THROW(engine::core::scryptKey("k", salt, sizeof salt, engine::core::currentScryptParams()),
                 engine::Cancelled);
}

TEST_F(Cancel, OneWayDestructionSaysHowFarItGot) {
    const auto plain = testutil::randomBytes(9u << 20, 9);
    testutil::writeFile(path, plain);
    {
        std::atomic<bool> requested{true};  // before the first block is overwritten
        const engine::CancelScope scope(requested);
        FakeBar bar;
        FakeWindow window;
        EXPECT_THROW(VQ203::sifrovat0(path, bar, window), engine::Cancelled);
        EXPECT_EQ(testutil::readFile(path), plain);
    }
    std::atomic<bool> requested{false};
    const engine::CancelScope scope(requested);
    FakeBar bar;
    bar.onPosition = [&](int percent) { requested = requested || percent >= 30; };
    FakeWindow window;
    try {
        VQ203::sifrovat0(path, bar, window);
        ADD_FAILURE() << "finished although asked to stop";
    } catch (const engine::Cancelled&) {
        ADD_FAILURE() << "part of the file is already destroyed: it is not unchanged";
    } catch (const engine::Error& error) {
        EXPECT_STREQ(error.what(), engine::msg::kPartlyDestroyed);
    }
    const auto after = testutil::readFile(path);
    ASSERT_EQ(after.size(), plain.size());
    EXPECT_NE(after, plain);
    EXPECT_TRUE(std::equal(after.end() - (1 << 20), after.end(), plain.end() - (1 << 20)))
        << "the rest was left alone";
}

// A derivation cannot be stopped halfway, and at the highest cost a file may ask for it takes seconds: the
// caller comes back at once and the derivation ends by itself, unseen.
TEST_F(Cancel, AStopDoesNotWaitForAKeyDerivationStillRunning) {
    HeldDerivations held;
    std::atomic<bool> requested{false};
    const engine::CancelScope scope(requested);
    std::thread asker([&] {
        held.waitUntilStarted();
        requested = true;
    });
    const unsigned char salt[16] = {};
    EXPECT_THROW(engine::core::scryptKey("k", salt, sizeof salt, engine::core::currentScryptParams()),
                 engine::Cancelled);
    asker.join();
    EXPECT_TRUE(held.endAll()) << "the call came back only once its derivation had ended";
}

TEST_F(Cancel, AStopDoesNotWaitForAKeyPreparedAheadEither) {
    const auto before = prepare(kOperations[0]);
    HeldDerivations held;
    VQ203::prepareKey(path, "k");
    held.waitUntilStarted();
    std::atomic<bool> requested{false};
    const engine::CancelScope scope(requested);
    StopAtTheKeyStep bar(requested);
    EXPECT_THROW(kOperations[0].run(path, bar), engine::Cancelled);
    EXPECT_TRUE(held.endAll()) << "the encryption waited for the prepared key";
    EXPECT_EQ(testutil::readFile(path), before);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.bin"});
}
