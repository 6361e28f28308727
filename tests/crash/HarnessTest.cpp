// SPDX-License-Identifier: GPL-3.0-or-later
// The sweep itself must catch what it is there to catch; otherwise its passing says nothing.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <stdexcept>

#include "tests/crash/Content.h"
#include "tests/crash/KillSweep.h"
#include "tests/crash/SingleFileOperation.h"
#include "tests/engine/TempDir.h"

namespace crash {
namespace {

// What the engine must never do: a plain copy beside the file, then the file rewritten in place, in paced
// pieces so that nearly the whole run is unsafe. XOR makes it its own opposite.
void rewriteInPlace(const std::string& path) {
    auto data = testutil::readFile(path);
    const std::string copy = std::filesystem::path(path).parent_path() / ".data.bin.copy";
    testutil::writeFile(copy, data);
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("cannot open " + path);
    const std::size_t piece = std::max<std::size_t>(data.size() / 64, 1);
    for (std::size_t at = 0; at < data.size(); at += piece) {
        const std::size_t size = std::min(piece, data.size() - at);
        for (std::size_t i = at; i < at + size; ++i) data[i] ^= 0x5a;
        if (::write(fd, data.data() + at, size) != static_cast<ssize_t>(size)) throw std::runtime_error("write failed");
        const timespec pause{0, 1'000'000};
        ::nanosleep(&pause, nullptr);
    }
    ::close(fd);
    std::filesystem::remove(copy);
}

// Its own kill count, whatever the run sets: enough that some kill lands in the rewrite on any machine.
constexpr int kSelfTestKills = 6;

TEST(CrashHarness, CatchesARewriteInPlaceThatLosesDataAndLeavesPlaintext) {
    const Step naive{"rewrite in place", rewriteInPlace};
    const auto operation = singleFileOperation("rewrite in place", Direction::Encrypting, naive, naive);
    const SweepReport report = sweep(*operation, kSelfTestKills);
    EXPECT_GT(report.tally.losses, 0);
    EXPECT_GT(report.tally.plaintextLeftovers, 0);
    EXPECT_FALSE(report.problems.empty());
}

TEST(CrashHarness, FindsPlaintextAtAnyOffsetButNotInRandomBytes) {
    const auto plain = plaintextFor(7, 4096);
    EXPECT_TRUE(holdsPlaintext({plain.begin() + 13, plain.begin() + 13 + 2 * kRecordSize}));
    EXPECT_FALSE(holdsPlaintext({plain.begin() + 13, plain.begin() + 13 + kRecordSize + 40}))
        << "no whole record in this slice";
    EXPECT_FALSE(holdsPlaintext(testutil::randomBytes(4u << 20, 3)));
}

}  // namespace
}  // namespace crash
