// SPDX-License-Identifier: GPL-3.0-or-later
// The file layer's promises through its interface alone, so that the same cases hold each system's sibling
// to them: a replacement takes the file's place in one step or not at all, leaves no temporary behind, keeps
// names in any script, refuses what it cannot replace safely, and the sweep removes only what nobody holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/EntryNames.h"
#include "engine/core/FileIO.h"
#include "engine/core/Folder.h"
#include "engine/core/Messages.h"
#include "engine/core/TemporaryFile.h"
#include "tests/engine/TempDir.h"

namespace {

namespace fs = std::filesystem;
using engine::core::Folder;
using engine::core::InputFile;
using engine::core::ReplacementFile;
using engine::core::TemporaryFile;
using testutil::TempDir;
using Bytes = std::vector<unsigned char>;

// Names as UTF-8 bytes, the engine's own form; the test's own file calls take them through u8path.
fs::path pathIn(const TempDir& dir, const std::string& name) {
    return fs::path(dir.path()) / fs::path(std::u8string(name.begin(), name.end()));
}

void put(const fs::path& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    ASSERT_TRUE(out.good());
}

Bytes get(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> namesIn(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void replace(const Folder& folder, const std::string& name, const Bytes& content) {
    ReplacementFile out(folder, name, content.size());
    out.writeAt(content.data(), content.size(), 0);
    out.commit(content.size());
}

std::string messageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const engine::Error& error) {
        return error.what();
    }
    return {};
}

TEST(FileLayer, ReplacesFilesNamedInAnyScriptAndLeavesOnlyThem) {
    TempDir dir;
    const std::vector<std::string> names = {"žluťoučký kůň.txt", "日本語のファイル.bin", "Ελληνικά.dat"};
    for (const auto& name : names) put(pathIn(dir, name), {1, 2, 3});
    const Folder folder(dir.path());
    for (std::size_t i = 0; i < names.size(); ++i)
        replace(folder, names[i], Bytes(10 + i, static_cast<unsigned char>(i + 40)));
    for (std::size_t i = 0; i < names.size(); ++i)
        EXPECT_EQ(get(pathIn(dir, names[i])), Bytes(10 + i, static_cast<unsigned char>(i + 40))) << names[i];
    auto expected = names;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(namesIn(dir), expected);
}

TEST(FileLayer, AResultTakesAFreeNameAndAShorterLengthAtTheCommit) {
    TempDir dir;
    const Folder folder(dir.path());
    {
        ReplacementFile out(folder, "new.bin", 100);
        const Bytes data(100, 7);
        out.writeAt(data.data(), data.size(), 0);
        out.commit(60);
        EXPECT_EQ(out.committedState().size, 60u);
    }
    EXPECT_EQ(get(pathIn(dir, "new.bin")), Bytes(60, 7));
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"new.bin"});
}

TEST(FileLayer, AnAbandonedResultLeavesTheOriginalAndNothingElse) {
    TempDir dir;
    put(pathIn(dir, "a.txt"), {1, 2, 3});
    {
        const Folder folder(dir.path());
        ReplacementFile out(folder, "a.txt", 3);
        const unsigned char data[] = {9, 9, 9};
        out.writeAt(data, 3, 0);
    }
    EXPECT_EQ(get(pathIn(dir, "a.txt")), (Bytes{1, 2, 3}));
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"a.txt"});
}

// The in-place road: the original is read until the commit and still open when its result takes its place.
// A system that cannot replace an open file (Windows without POSIX rename semantics) must refuse cleanly:
// the original as it was, and nothing else left.
TEST(FileLayer, ReplacesAFileThatIsStillOpenForReadingOrRefusesCleanly) {
    TempDir dir;
    put(pathIn(dir, "a.txt"), {1, 2, 3});
    std::string refusal;
    {
        const Folder folder(dir.path());
        const InputFile original(folder, "a.txt");
        ReplacementFile out(folder, "a.txt", 4);
        const unsigned char data[] = {9, 8, 7, 6};
        out.writeAt(data, 4, 0);
        refusal = messageOf([&] { out.commit(4, original); });
    }
    if (refusal.empty())
        EXPECT_EQ(get(pathIn(dir, "a.txt")), (Bytes{9, 8, 7, 6}));
    else
        EXPECT_EQ(get(pathIn(dir, "a.txt")), (Bytes{1, 2, 3})) << refusal;
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"a.txt"});
}

TEST(FileLayer, RefusesToReplaceAFileEditedSinceItWasRead) {
    TempDir dir;
    put(pathIn(dir, "a.txt"), {1, 2, 3});
    const Folder folder(dir.path());
    const InputFile original(folder, "a.txt");
    ReplacementFile out(folder, "a.txt", 3);
    const unsigned char data[] = {9, 9, 9};
    out.writeAt(data, 3, 0);
    // Another program's save: a new file under the name (editors write a copy and rename it). Where the
    // system lets the reader keep others from replacing the file, the save is refused instead: either way
    // the other program's content is never lost.
    put(pathIn(dir, "edited.tmp"), {4, 5, 6, 7});
    std::error_code refused;
    fs::rename(pathIn(dir, "edited.tmp"), pathIn(dir, "a.txt"), refused);
    if (refused) GTEST_SKIP() << "this system keeps others from replacing a file while it is read";
    EXPECT_EQ(messageOf([&] { out.commit(3, original); }), engine::msg::kChangedMeanwhile);
    EXPECT_EQ(get(pathIn(dir, "a.txt")), (Bytes{4, 5, 6, 7}));
}

TEST(FileLayer, RefusesAFileWithOtherHardLinks) {
    TempDir dir;
    put(pathIn(dir, "a.txt"), {1, 2, 3});
    fs::create_hard_link(pathIn(dir, "a.txt"), pathIn(dir, "b.txt"));
    const Folder folder(dir.path());
    EXPECT_EQ(messageOf([&] { ReplacementFile out(folder, "a.txt", 3); }), engine::msg::kHardLinks);
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST(FileLayer, SweepsTemporariesNobodyHoldsButNotALiveOne) {
    TempDir dir;
    const Folder folder(dir.path());
    // What a killed run left: a temporary's name and the mode a temporary is written with, beside the file
    // it was to replace. (Where that file's name is free, Windows gives it back: FileLayerWin32Test.)
    put(pathIn(dir, "a.txt"), {4});
    const std::string leftover = engine::core::temporaryNameFor("a.txt", "Abc123");
    put(pathIn(dir, leftover), {5, 5});
    fs::permissions(pathIn(dir, leftover), fs::perms::owner_read | fs::perms::owner_write);
    put(pathIn(dir, ".a.txt.notours"), {6});
    TemporaryFile live(folder, "b.txt", 4);
    const unsigned char data[] = {1, 2, 3, 4};
    live.writeAt(data, 4, 0);
    replace(folder, "c.txt", {7});
    live.syncWithSize(4);
    ASSERT_TRUE(live.nameAs("b.txt"));
    live.close();
    EXPECT_EQ(namesIn(dir), (std::vector<std::string>{".a.txt.notours", "a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(get(pathIn(dir, "b.txt")), (Bytes{1, 2, 3, 4}));
}

TEST(FileLayer, ANameIsGivenOnlyWhileFreeAndTakenBackOnlyFromItsOwnFile) {
    TempDir dir;
    put(pathIn(dir, "taken"), {1});
    const Folder folder(dir.path());
    TemporaryFile first(folder, "", 1);
    first.writeAt("x", 1, 0);
    first.syncWithSize(1);
    EXPECT_FALSE(first.nameAs("taken"));
    EXPECT_EQ(get(pathIn(dir, "taken")), Bytes{1});
    ASSERT_TRUE(first.nameAs("free"));
    first.close();
    first.unname();
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"taken"});
    const auto state = folder.entry("taken");
    ASSERT_TRUE(state);
    EXPECT_TRUE(state->isRegular());
    EXPECT_FALSE(folder.removeIfStill("taken", engine::core::FileState{}));
    EXPECT_TRUE(folder.removeIfStill("taken", *state));
    EXPECT_FALSE(folder.entry("taken"));
}

TEST(FileLayer, ReadsAtOffsetsAndStopsAtTheEnd) {
    TempDir dir;
    const Bytes content = testutil::randomBytes(3000, 7);
    put(pathIn(dir, "r.bin"), content);
    const Folder folder(dir.path());
    const InputFile in(folder, "r.bin");
    EXPECT_EQ(in.size(), 3000u);
    Bytes buffer(1000);
    EXPECT_EQ(in.readAt(buffer.data(), 1000, 2500), 500u);
    EXPECT_TRUE(std::equal(content.begin() + 2500, content.end(), buffer.begin()));
    EXPECT_TRUE(in.readExactAt(buffer.data(), 1000, 1000));
    EXPECT_TRUE(std::equal(content.begin() + 1000, content.begin() + 2000, buffer.begin()));
    EXPECT_FALSE(in.readExactAt(buffer.data(), 1000, 2001));
    EXPECT_TRUE(in.unchangedIn(folder, "r.bin"));
}

TEST(FileLayer, ResolvesFilesAndRefusesFoldersAndMissingOnes) {
    TempDir dir;
    put(pathIn(dir, "f"), {1});
    fs::create_directory(pathIn(dir, "sub"));
    const std::string resolved = engine::core::resolveRegularFile(dir.path() + "/f");
    EXPECT_EQ(engine::core::baseNameOf(resolved), "f");
    EXPECT_EQ(engine::core::placeRegularFile(resolved).name, "f");
    EXPECT_EQ(messageOf([&] { engine::core::resolveRegularFile(dir.path() + "/sub"); }), engine::msg::kNotARegularFile);
    EXPECT_EQ(messageOf([&] { engine::core::resolveRegularFile(dir.path() + "/none"); }), engine::msg::kFileMissing);
    EXPECT_EQ(messageOf([&] { Folder missing(dir.path() + "/none"); }), engine::msg::kFileMissing);
}

}  // namespace
