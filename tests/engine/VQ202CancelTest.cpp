// SPDX-License-Identifier: GPL-3.0-or-later
// Stopping folder work on request: a stopped encryption leaves every original and no package, a stopped
// restore leaves the package and no restored file; after the commit the work completes.
#include <gtest/gtest.h>

#include <atomic>

#include "engine/core/TestHooks.h"
#include "engine/vq202/Messages.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/TempDir.h"

using testutil::FolderCall;
using testutil::TempDir;

namespace {

constexpr const char* kKey = "heslo";

class FolderCancel : public ::testing::Test {
protected:
    void SetUp() override {
        engine::core::setScryptCostForTesting(10);
        for (int i = 0; i < 6; ++i)
            testutil::writeFile(dir.file("f" + std::to_string(i)), testutil::randomBytes((1u << 20) + 4099u * i, i));
        testutil::writeFile(dir.file("empty"), {});
    }
    void TearDown() override { engine::core::setMomentHookForTesting({}); }

    // Runs `work` with a request to stop once the package bytes reach `atPercent`; returns ErrorMsg.
    template <class Work>
    std::string stoppedAt(int atPercent, Work work) {
        std::atomic<bool> requested{false};
        const engine::CancelScope scope(requested);
        FolderCall call;
        call.pb2.onPosition = [&](int percent) { requested = requested || percent >= atPercent; };
        return work(call);
    }

    TempDir dir;
    const std::string package = dir.file("directory.cff");
};

}  // namespace

TEST_F(FolderCancel, AStoppedEncryptionLeavesEveryOriginalAndNoPackage) {
    const auto before = testutil::snapshot(dir.path());
    for (const int atPercent : {0, 37, 99}) {
        SCOPED_TRACE(atPercent);
        EXPECT_EQ(stoppedAt(atPercent, [&](FolderCall& call) { return call.encrypt(dir.path(), kKey); }),
                  VQ202::msg::kCancelled);
        EXPECT_EQ(testutil::snapshot(dir.path()), before);
    }
}

TEST_F(FolderCancel, AStoppedRestoreLeavesThePackageAndRemovesWhatItRestored) {
    const auto plain = testutil::snapshot(dir.path());
    ASSERT_EQ(testutil::encryptFolder(dir.path(), kKey), "");
    const auto packed = testutil::snapshot(dir.path());
    ASSERT_EQ(packed.size(), 1u);
    for (const int atPercent : {0, 37, 99}) {
        SCOPED_TRACE(atPercent);
        EXPECT_EQ(stoppedAt(atPercent, [&](FolderCall& call) { return call.decrypt(package, kKey); }),
                  VQ202::msg::kCancelled);
        EXPECT_EQ(testutil::snapshot(dir.path()), packed);
    }
    EXPECT_EQ(testutil::decryptPackage(package, kKey), "");
    EXPECT_EQ(testutil::snapshot(dir.path()), plain);
}

TEST_F(FolderCancel, ARequestAfterTheCommitIsTooLateAndTheWorkCompletes) {
    const auto plain = testutil::snapshot(dir.path());
    std::atomic<bool> requested{false};
    engine::core::setMomentHookForTesting([&](engine::core::Moment moment) {
        if (moment == engine::core::Moment::OriginalsRemoved || moment == engine::core::Moment::PackageRemoved)
            requested = true;
    });
    const engine::CancelScope scope(requested);
    EXPECT_EQ(testutil::encryptFolder(dir.path(), kKey), "");
    EXPECT_TRUE(requested.exchange(false));
    EXPECT_EQ(testutil::snapshot(dir.path()).size(), 1u);
    EXPECT_EQ(testutil::decryptPackage(package, kKey), "");
    EXPECT_TRUE(requested);
    EXPECT_EQ(testutil::snapshot(dir.path()), plain);
}
