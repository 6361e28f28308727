// SPDX-License-Identifier: GPL-3.0-or-later
// The file-system steps a restore rests on: a restored file never takes the name of an existing one, and a
// restore that is taken back leaves no trace.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <filesystem>

#include "engine/vq202/FolderFiles.h"
#include "engine/vq202/FolderTree.h"
#include "engine/vq202/PackageIndex.h"
#include "engine/vq202/WriteBehind.h"
#include "tests/engine/Refusal.h"
#include "tests/engine/TempDir.h"

using namespace testutil;
using namespace VQ202::detail;

namespace {

Entry entryFor(const std::string& name, std::uint64_t size) { return Entry{name, size, 1'500'000'000, 250, 0640}; }

}  // namespace

TEST(RestoredFile, TakesItsNameWithItsTimeAndPermissionsButNeverReplacesAFile) {
    TempDir dir;
    writeFile(dir.file("obsazeno"), {1, 2, 3});
    const unsigned char data[] = {9, 8, 7, 6};
    {
        const engine::core::Folder folder(dir.path());
        RestoredFile file(folder, entryFor("obsazeno", sizeof data));
        file.write(data, sizeof data);
        file.finish();
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"obsazeno"}) << "unnamed until committed";
        EXPECT_FALSE(file.commitAs("obsazeno"));
        EXPECT_EQ(readFile(dir.file("obsazeno")), (std::vector<unsigned char>{1, 2, 3}));
        ASSERT_TRUE(file.commitAs("volno"));
    }
    EXPECT_EQ(readFile(dir.file("volno")), (std::vector<unsigned char>{9, 8, 7, 6}));
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("volno").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(info.st_mtim.tv_sec, 1'500'000'000);
    EXPECT_EQ(info.st_mtim.tv_nsec, 250);
    EXPECT_FALSE(hasTemporaryFiles(dir.path()));
}

TEST(RestoredFile, WithdrawnOrAbandonedLeavesNothingBehind) {
    TempDir dir;
    const engine::core::Folder folder(dir.path());
    {
        RestoredFile file(folder, entryFor("a", 0));
        file.finish();
        ASSERT_TRUE(file.commitAs("a"));
        file.withdraw();
        EXPECT_FALSE(std::filesystem::exists(dir.file("a")));
    }
    {  // a failed restore: the destructor removes it
        RestoredFile abandoned(folder, entryFor("b", 1000));
        abandoned.write(std::vector<unsigned char>(10).data(), 10);
    }
    EXPECT_TRUE(dir.entries().empty());
}

TEST(InParallel, RunsEveryIndexExactlyOnce) {
    for (std::size_t count : {0u, 1u, 3u, 1000u}) {
        std::vector<std::atomic<int>> runs(count);
        inParallel(count, [&](std::size_t i) { ++runs[i]; });
        for (const auto& r : runs) EXPECT_EQ(r.load(), 1);
    }
}

TEST(WriteBehind, RunsJobsInOrderAndReportsTheFirstFailure) {
    std::vector<int> order;
    {
        WriteBehind writer(10);
        for (int i = 0; i < 100; ++i) writer.post([&order, i] { order.push_back(i); }, 4);  // waits when full
        writer.drain();
        EXPECT_EQ(order.size(), 100u);
        EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
    }
    WriteBehind failing(1000);
    int ranAfter = 0;
    failing.post([] { throw engine::Error("disk full"); }, 1);
    try {
        failing.post([&] { ++ranAfter; }, 1);  // queued before the failure is known, or refused: never run
    } catch (const engine::Error&) {
    }
    EXPECT_THROW(failing.drain(), engine::Error);
    EXPECT_THROW(failing.post([] {}, 1), engine::Error);
    EXPECT_EQ(ranAfter, 0);
}

// A folder let go to stay within the descriptors is opened again only if it is still the very folder: one
// put in its place meanwhile (another folder, or a link to one) is refused, not used.
TEST(FolderTree, AFolderLetGoIsOpenedAgainOnlyIfStillTheSame) {
    TempDir dir;
    for (const char* name : {"a", "b", "c", "elsewhere"}) std::filesystem::create_directory(dir.file(name));
    const engine::core::Folder top(dir.path());
    FolderTree tree(top, 1);
    tree.open("a");
    tree.open("b");  // lets a go
    ASSERT_NE(tree.find("a"), nullptr);  // the same folder: opened again
    EXPECT_EQ(tree.openNow(), 1u);
    tree.pin("a");
    tree.open("c");  // a is pinned: it stays open beside c
    EXPECT_EQ(tree.openNow(), 2u);
    tree.unpin("a");  // b was let go when a came back
    std::filesystem::rename(dir.file("b"), dir.file("b.old"));
    std::filesystem::create_directory(dir.file("b"));
    EXPECT_THROW(tree.find("b"), engine::Error);
    tree.find("a");  // c was let go to make room for b
    std::filesystem::rename(dir.file("c"), dir.file("c.old"));
    std::filesystem::create_directory_symlink(dir.file("c.old"), dir.file("c"));
    EXPECT_THROW(tree.find("c"), engine::Error);
    EXPECT_EQ(tree.find("nikdy"), nullptr);
}
