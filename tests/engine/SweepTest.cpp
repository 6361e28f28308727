// SPDX-License-Identifier: GPL-3.0-or-later
// The sweep removes the temporaries killed processes left behind, and nothing that only looks like one: the
// names the engine makes are the only ones of their shape, and another user's or a changed file stays.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "engine/core/EntryNames.h"
#include "engine/core/Folder.h"
#include "engine/core/Sweep.h"
#include "tests/engine/TempDir.h"

namespace {

using namespace engine::core;
using testutil::TempDir;

TEST(TemporaryNames, OnlyTheNamesTheEngineMakesHaveTheShape) {
    for (const std::string& finalName : {std::string(), std::string("a.txt"), std::string(".skrytý"),
                                         std::string(255, 'n'), std::string("x.mvxtmp-ABCDEF")})
        EXPECT_TRUE(isTemporaryName(temporaryNameFor(finalName, randomTemporarySuffix()))) << finalName;
    EXPECT_TRUE(isTemporaryName(temporaryNameFor("a.txt", "XXXXXX")));  // mkostemp's template before it is filled
    for (const std::string lookAlike :
         {".notes.mvxtmp-v2.txt", ".a.mvxtmp-AB-123", ".a.mvxtmp-ABC12", ".a.mvxtmp-ABC1234", "a.mvxtmp-ABC123",
          "..mvxtmp-ABC123", ".a.mvxtmp-ABC12\xc3\xa9", ".mvxtmp-", ".a.mvxtmp-ABC 12"})
        EXPECT_FALSE(isTemporaryName(lookAlike)) << lookAlike;
    // The engine takes at most 200 bytes of the final name.
    EXPECT_TRUE(isTemporaryName("." + std::string(200, 'n') + ".mvxtmp-ABC123"));
    EXPECT_FALSE(isTemporaryName("." + std::string(201, 'n') + ".mvxtmp-ABC123"));
}

TEST(TemporaryNames, NamesWithControlCharactersOrOfTheTemporaryShapeAreNotRestorable) {
    EXPECT_TRUE(isRestorableName("žluťoučký kůň.txt"));
    EXPECT_TRUE(isRestorableName(".notes.mvxtmp-v2.txt"));
    for (const std::string& name : {std::string("nul\0x", 5), std::string("řádek\nzlom"), std::string("tab\tname"),
                                   std::string("del\x7f"), std::string("esc\x1b[31m"), std::string(".x.mvxtmp-ABCDEF"),
                                   std::string(".mvxtmp-Qw3rty")})
        EXPECT_FALSE(isRestorableName(name)) << name;
    EXPECT_EQ(printableName("a\nb\x7f\x01"), "a\u240a" "b\u2421\u2401");
}

class Sweep : public ::testing::Test {
protected:
    std::string put(const std::string& name, mode_t mode) const {
        const std::string path = dir.file(name);
        testutil::writeFile(path, {9});
        ::chmod(path.c_str(), mode);
        return path;
    }
    std::vector<std::string> entries() const {
        auto names = dir.entries();
        std::sort(names.begin(), names.end());
        return names;
    }
    TempDir dir;
};

TEST_F(Sweep, RemovesAbandonedTemporariesButNoneOfTheirLookAlikes) {
    put(".a.txt.mvxtmp-AbC123", 0600);  // abandoned: a replacement and a restored file
    put(".mvxtmp-Qw3rty", 0600);
    put(".notes.mvxtmp-v2.txt", 0600);  // a user's own files of nearly the shape
    put(".mvxtmp-backup", 0644);        // the exact shape, but a mode the engine never gives a temporary
    put(".b.txt.mvxtmp-Mode44", 0644);   // no b.txt whose mode it could have taken
    put("h.txt", 0640);                   // a replacement killed between its mode change and its rename
    put(".h.txt.mvxtmp-Final1", 0640);
    put(".c.txt.mvxtmp-AB-123", 0600);
    const std::string twoLinks = put(".d.txt.mvxtmp-Links2", 0600);  // a second name: someone made it since
    ASSERT_EQ(::link(twoLinks.c_str(), dir.file("druhé jméno").c_str()), 0);
    const std::string live = put(".e.txt.mvxtmp-LiVe99", 0600);
    const int liveLock = ::open(live.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(liveLock, LOCK_EX), 0);  // as a running operation holds its temporary
    put("cíl", 0600);
    std::filesystem::create_symlink("cíl", dir.file(".f.txt.mvxtmp-Link01"));  // neither followed nor removed
    std::filesystem::create_directory(dir.file(".g.txt.mvxtmp-Dir001"));

    sweepAbandonedTemporaries(Folder(dir.path()));
    ::close(liveLock);
    EXPECT_EQ(entries(), (std::vector<std::string>{".b.txt.mvxtmp-Mode44", ".c.txt.mvxtmp-AB-123", ".d.txt.mvxtmp-Links2",
                                                   ".e.txt.mvxtmp-LiVe99", ".f.txt.mvxtmp-Link01", ".g.txt.mvxtmp-Dir001",
                                                   ".mvxtmp-backup", ".notes.mvxtmp-v2.txt", "cíl", "druhé jméno", "h.txt"}));
}

TEST_F(Sweep, LeavesAnotherUsersFileOfTheRightShape) {
    if (::geteuid() != 0) GTEST_SKIP() << "a second user needs root";
    ::chmod(dir.path().c_str(), 01777);  // a shared folder, like /tmp
    const std::string theirs = dir.file(".plan.mvxtmp-notes2");
    const auto createAsNobody = [&] {
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0) std::_Exit(2);
        const int fd = ::open(theirs.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        std::_Exit(fd >= 0 && ::fchmod(fd, 0600) == 0 ? 0 : 1);
    };
    EXPECT_EXIT(createAsNobody(), ::testing::ExitedWithCode(0), "");
    const std::string ours = put(".mine.mvxtmp-Mine01", 0600);

    sweepAbandonedTemporaries(Folder(dir.path()));
    EXPECT_TRUE(std::filesystem::exists(theirs));
    EXPECT_FALSE(std::filesystem::exists(ours));
}

}  // namespace
