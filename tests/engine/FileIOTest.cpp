// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>

#include "engine/Ports.h"
#include "engine/core/FileIO.h"
#include "engine/core/Messages.h"
#include "tests/engine/TempDir.h"

using engine::core::Folder;
using engine::core::InputFile;
using engine::core::ReplacementFile;
using testutil::TempDir;

TEST(ReplacementFile, CommitReplacesContentKeepsModeAndLeavesNoTemporary) {
    TempDir dir;
    const auto target = dir.file("a.txt");
    testutil::writeFile(target, {1, 2, 3});
    ::chmod(target.c_str(), 0640);
    {
        const Folder folder(dir.path());
        ReplacementFile out(folder, "a.txt", 5);
        const unsigned char data[] = {9, 8, 7, 6, 5};
        out.writeAt(data, 5, 0);
        out.commit(4);
    }
    EXPECT_EQ(testutil::readFile(target), (std::vector<unsigned char>{9, 8, 7, 6}));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.entries().size(), 1u);
}

// Whoever may write a folder may rename over any file in it; a result that cannot keep the original's owner
// and group would hand another user's file to the writer.
TEST(ReplacementFile, RefusesToReplaceAFileWhoseOwnerItCannotKeep) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to set up a file of another user";
    TempDir dir;
    ::chmod(dir.path().c_str(), 0777);
    const auto target = dir.file("theirs.txt");
    testutil::writeFile(target, {1, 2, 3});
    ::chmod(target.c_str(), 0644);
    const auto replaceAsNobody = [&] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) std::_Exit(2);
        try {
            const Folder folder(dir.path());
            ReplacementFile out(folder, "theirs.txt", 3);
            const unsigned char data[] = {4, 4, 4};
            out.writeAt(data, 3, 0);
            out.commit(3);
        } catch (const engine::Error& error) {
            std::_Exit(std::string(error.what()) == engine::msg::kOwnerNotKept ? 0 : 3);
        }
        std::_Exit(1);
    };
    EXPECT_EXIT(replaceAsNobody(), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(testutil::readFile(target), (std::vector<unsigned char>{1, 2, 3}));
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_EQ(dir.entries().size(), 1u) << "no temporary left";
}

TEST(ReplacementFile, AbandonedReplacementLeavesOriginalAndNoTemporary) {
    TempDir dir;
    const auto target = dir.file("a.txt");
    testutil::writeFile(target, {1, 2, 3});
    {
        const Folder folder(dir.path());
        ReplacementFile out(folder, "a.txt", 3);
        const unsigned char data[] = {4, 4, 4};
        out.writeAt(data, 3, 0);
    }
    EXPECT_EQ(testutil::readFile(target), (std::vector<unsigned char>{1, 2, 3}));
    EXPECT_EQ(dir.entries().size(), 1u);
}

// A large abandoned result is freed off its caller's path; the next check of free space counts its space as
// free again, so that a new attempt right after a stop finds the disk as it was.
TEST(ReplacementFile, TheSpaceOfALargeAbandonedResultIsFreeAgainByTheNextCheck) {
    TempDir dir;
    testutil::writeFile(dir.file("a.bin"), {1});
    const Folder folder(dir.path());
    constexpr std::uint64_t kReserved = 512u << 20;
    const auto before = folder.freeSpace();
    ASSERT_TRUE(before);
    if (*before < 4 * kReserved) GTEST_SKIP() << "too little free space to try";
    for (int round = 0; round < 3; ++round) {
        {
            ReplacementFile out(folder, "a.bin", kReserved);
            const unsigned char data[4096] = {7};
            for (std::uint64_t at = 0; at < (64u << 20); at += sizeof data) out.writeAt(data, sizeof data, at);
            EXPECT_LT(*folder.freeSpace(), *before - kReserved / 2) << "the space is reserved while it is written";
        }
        // Other programs may write meanwhile: a margin far below what the result held.
        EXPECT_GT(*folder.freeSpace(), *before - kReserved / 2) << "round " << round;
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.bin"});
}

TEST(ReplacementFile, RefusesMoreThanTheDiskHolds) {
    TempDir dir;
    const Folder folder(dir.path());
    EXPECT_THROW(ReplacementFile(folder, "a", std::uint64_t{1} << 62), engine::Error);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(ResolveRegularFile, FollowsLinksAndRefusesFoldersAndMissingFiles) {
    TempDir dir;
    testutil::writeFile(dir.file("real"), {1});
    std::filesystem::create_symlink(dir.file("real"), dir.file("link"));
    EXPECT_EQ(engine::core::resolveRegularFile(dir.file("link")),
              std::filesystem::canonical(dir.file("real")).string());
    EXPECT_THROW(engine::core::resolveRegularFile(dir.path()), engine::Error);
    EXPECT_THROW(engine::core::resolveRegularFile(dir.file("missing")), engine::Error);
    EXPECT_THROW(engine::core::resolveRegularFile(""), engine::Error);
}

TEST(InputFile, ReadsAtOffsetsAndReportsShortReads) {
    TempDir dir;
    testutil::writeFile(dir.file("f"), {1, 2, 3, 4});
    InputFile in(dir.file("f"));
    EXPECT_EQ(in.size(), 4u);
    unsigned char buf[4] = {};
    EXPECT_TRUE(in.readExactAt(buf, 2, 2));
    EXPECT_EQ(buf[0], 3);
    EXPECT_FALSE(in.readExactAt(buf, 4, 1));
}

TEST(ReplacementFile, WorksForANameAtTheFileSystemsLimit) {
    TempDir dir;
    const auto target = dir.file(std::string(255, 'n'));
    testutil::writeFile(target, {1});
    {
        const Folder folder(dir.path());
        ReplacementFile out(folder, std::string(255, 'n'), 2);
        const unsigned char data[] = {2, 3};
        out.writeAt(data, 2, 0);
        out.commit(2);
    }
    EXPECT_EQ(testutil::readFile(target), (std::vector<unsigned char>{2, 3}));
    EXPECT_EQ(dir.entries().size(), 1u);
}

TEST(ReplacementFile, RemovesEveryTemporaryOfKilledProcessesInTheFolderButNotLiveOnes) {
    TempDir dir;
    const auto target = dir.file("a.txt");
    testutil::writeFile(target, {1, 2, 3});
    const auto abandoned = dir.file(".a.txt.mvxtmp-AbC123");
    const auto live = dir.file(".a.txt.mvxtmp-LiVe99");
    const auto otherFiles = dir.file(".b.txt.mvxtmp-XyZ777");
    const auto restoredFile = dir.file(".mvxtmp-Qw3rty");
    const auto notOurs = dir.file(".b.txt.mvxtmp-toolong");
    for (const auto& path : {abandoned, live, otherFiles, restoredFile, notOurs}) {
        testutil::writeFile(path, {9});
        ::chmod(path.c_str(), 0600);  // as the engine creates them
    }
    const int liveLock = ::open(live.c_str(), O_RDONLY);
    ASSERT_GE(liveLock, 0);
    ASSERT_EQ(::flock(liveLock, LOCK_EX), 0);  // as a running replacement holds it
    {
        const Folder folder(dir.path());
        ReplacementFile out(folder, "a.txt", 1);
        const unsigned char data[] = {7};
        out.writeAt(data, 1, 0);
        out.commit(1);
    }
    ::close(liveLock);
    EXPECT_FALSE(std::filesystem::exists(abandoned));
    EXPECT_TRUE(std::filesystem::exists(live));
    EXPECT_FALSE(std::filesystem::exists(otherFiles));
    EXPECT_FALSE(std::filesystem::exists(restoredFile));
    EXPECT_TRUE(std::filesystem::exists(notOurs));
    EXPECT_EQ(testutil::readFile(target), (std::vector<unsigned char>{7}));
}

TEST(ReplacementFile, IsUnnamedWhileWrittenAndCarriesTheOriginalsExtendedAttributes) {
    TempDir dir;
    const auto target = dir.file("a.txt");
    testutil::writeFile(target, {1, 2, 3});
    const std::string tag = "projekt";
    if (::setxattr(target.c_str(), "user.mivex.test", tag.data(), tag.size(), 0) != 0)
        GTEST_SKIP() << "this file system keeps no user attributes";
    {
        const Folder folder(dir.path());
        ReplacementFile out(folder, "a.txt", 2);
        const unsigned char data[] = {5, 6};
        out.writeAt(data, 2, 0);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"a.txt"}) << "a crash now must leave nothing behind";
        out.commit(2);
    }
    char value[32] = {};
    const ssize_t size = ::getxattr(target.c_str(), "user.mivex.test", value, sizeof value);
    EXPECT_EQ(std::string(value, size > 0 ? static_cast<std::size_t>(size) : 0), tag);
    EXPECT_EQ(testutil::readFile(target), (std::vector<unsigned char>{5, 6}));
}

TEST(ReplacementFile, RefusesAFileWithOtherHardLinks) {
    TempDir dir;
    const auto target = dir.file("a.txt");
    testutil::writeFile(target, {1, 2, 3});
    ASSERT_EQ(::link(target.c_str(), dir.file("b.txt").c_str()), 0);
    const Folder folder(dir.path());
    EXPECT_THROW(ReplacementFile(folder, "a.txt", 3), engine::Error);
    EXPECT_EQ(dir.entries().size(), 2u);
}

// A folder one may enter and write but not read (mode 0333): it is opened for lookups only, and its names are
// made durable through the file system instead. Root reads every folder, so there another user tries.
TEST(Folder, SyncsThroughTheFileSystemWhereTheFolderMayOnlyBeEntered) {
    TempDir dir;
    const auto file = dir.file("f");
    testutil::writeFile(file, {1});
    const int fd = ::open(file.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ::chmod(dir.path().c_str(), 0333);
    const auto check = [&] {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(2);
        try {
            const Folder folder(dir.path());
            if (!folder.entry("f")) std::_Exit(3);  // lookups work without the right to read the folder
            if (!folder.sync(fd)) std::_Exit(4);   // syncfs through the file
            if (folder.sync(-1)) std::_Exit(5);    // nothing could be synced: said so
        } catch (const engine::Error&) {
            std::_Exit(6);
        }
        std::_Exit(0);
    };
    EXPECT_EXIT(check(), ::testing::ExitedWithCode(0), "");
    ::chmod(dir.path().c_str(), 0700);
    ::close(fd);
}

TEST(Folder, FollowsTheUsersLinkButNoticesWhenTheFolderIsMovedAway) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("real"));
    std::filesystem::create_directory_symlink(dir.file("real"), dir.file("link"));
    const Folder folder(dir.file("link"));
    EXPECT_EQ(folder.path(), std::filesystem::canonical(dir.file("real")).string());
    EXPECT_NO_THROW(folder.requireStillInPlace());
    std::filesystem::rename(dir.file("real"), dir.file("moved"));
    std::filesystem::create_directory(dir.file("real"));  // another folder of the same name
    try {
        folder.requireStillInPlace();
        ADD_FAILURE() << "a moved folder passed";
    } catch (const engine::Error& error) {
        EXPECT_STREQ(error.what(), engine::msg::kFolderMovedMeanwhile);
    }
}
