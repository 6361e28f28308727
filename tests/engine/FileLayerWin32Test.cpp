// SPDX-License-Identifier: GPL-3.0-or-later
// What the Win32 sibling does where Windows differs: a result replaces a file that is still open also where
// the system has no POSIX rename semantics (Wine, older Windows), and the sweep gives a file that was moved
// aside for its replacement its name back when the replacement died before taking it.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/core/FileIO.h"
#include "engine/core/Sweep.h"
#include "tests/engine/TempDir.h"

namespace {

using engine::core::Folder;
using engine::core::InputFile;
using engine::core::ReplacementFile;
using testutil::readFile;
using testutil::TempDir;
using testutil::writeFile;
using Bytes = std::vector<unsigned char>;

std::vector<std::string> sortedNames(const TempDir& dir) {
    auto names = dir.entries();
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileLayerWin32, AResultReplacesAFileStillOpenForReadingAndTheOldOneGoesWithItsLastHandle) {
    TempDir dir;
    writeFile(dir.file("a.txt"), {1, 2, 3});
    {
        const Folder folder(dir.path());
        const InputFile original(folder, "a.txt");
        {
            ReplacementFile out(folder, "a.txt", 4);
            const unsigned char data[] = {9, 8, 7, 6};
            out.writeAt(data, 4, 0);
            out.commit(4, original);
        }  // the result is its writer's alone until then
        EXPECT_EQ(readFile(dir.file("a.txt")), (Bytes{9, 8, 7, 6}));
        Bytes stillRead(3);
        EXPECT_TRUE(original.readExactAt(stillRead.data(), 3, 0));
        EXPECT_EQ(stillRead, (Bytes{1, 2, 3}));
    }
    EXPECT_EQ(sortedNames(dir), std::vector<std::string>{"a.txt"});
}

TEST(FileLayerWin32, TheSweepGivesAnAbandonedHiddenFileItsFreeNameAndRemovesItWhereTheNameIsTaken) {
    TempDir dir;
    writeFile(dir.file(".a.txt.mvxtmp-ABCdef"), {1, 2});  // moved aside, its replacement never came
    writeFile(dir.file(".b.txt.mvxtmp-XYZ123"), {3});     // the old one, its replacement in place
    writeFile(dir.file("b.txt"), {4});
    writeFile(dir.file(".mvxtmp-QWErty"), {5});           // a restored file that never got a name
    engine::core::sweepAbandonedTemporaries(Folder(dir.path()));
    EXPECT_EQ(sortedNames(dir), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(readFile(dir.file("a.txt")), (Bytes{1, 2}));
    EXPECT_EQ(readFile(dir.file("b.txt")), (Bytes{4}));
}

}  // namespace
