// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/FileState.h"
#include "tests/platform/ProfileTestFiles.h"

using platform::ProfileFile;
using testutil::readText;
using testutil::writeText;

namespace {

class ProfileFileTest : public ::testing::Test {
protected:
    ProfileFile fileWith(const std::string& text) {
        writeText(path, text);
        return ProfileFile(path);
    }
    std::uint64_t inode() const {
        const auto state = engine::core::stateAt(path);
        return state ? state->index : 0;
    }

    testutil::TempDir dir;
    std::string path = dir.file("data.adb");
};

TEST_F(ProfileFileTest, ReadsHandWrittenFilesByTheLayoutRules) {
    const ProfileFile file = fileWith(
        "\xEF\xBB\xBF[First]\r\n"
        "  Key One  =  spaced value  \r\n"
        "; comment=not an entry\r\n"
        "# hash=not an entry either\r\n"
        "a line without equals sign\r\n"
        "dup=first\r\n"
        "dup=second\r\n"
        "empty=\r\n"
        "\r\n"
        "[ second ]\n"
        "x=\xE8\xFF raw bytes\n"
        "[FIRST]\n"
        "late=ignored, the first section counts\n"
        "[last]\n"
        "tail=no line end");

    EXPECT_EQ(file.readString("first", "KEY ONE"), "spaced value");
    EXPECT_EQ(file.readString(" First ", " key one "), "spaced value");
    EXPECT_EQ(file.readString("First", "; comment", "dflt"), "dflt");
    EXPECT_EQ(file.readString("First", "# hash", "dflt"), "dflt");
    EXPECT_EQ(file.readString("First", "a line without equals sign", "dflt"), "dflt");
    EXPECT_EQ(file.readString("First", "dup"), "first");
    EXPECT_EQ(file.readString("First", "empty", "dflt"), "");
    EXPECT_EQ(file.readString("First", "late", "dflt"), "dflt");
    EXPECT_EQ(file.readString("Second", "x"), "\xE8\xFF raw bytes");
    EXPECT_EQ(file.readString("last", "tail"), "no line end");
    EXPECT_EQ(file.readString("missing", "tail", "dflt"), "dflt");
    EXPECT_EQ(file.readString("last", "missing", "dflt"), "dflt");
    EXPECT_EQ(file.sectionNames(), (std::vector<std::string>{"First", "second", "last"}));
}

TEST_F(ProfileFileTest, MissingOrUnreadableFileReadsAsDefaults) {
    const ProfileFile missing(path);
    EXPECT_EQ(missing.readString("All", "Count", "d"), "d");
    EXPECT_EQ(missing.readInt("All", "Count", 7), 7);
    EXPECT_TRUE(missing.sectionNames().empty());

    std::filesystem::create_directory(path);  // exists, but cannot be read as a file
    EXPECT_EQ(ProfileFile(path).readInt("All", "Count"), 0);
}

TEST_F(ProfileFileTest, ReadsValuesUpTo2047Characters) {
    const std::string ascii(3000, 'a');
    std::string czech;
    for (int i = 0; i < 2100; ++i) czech += "\xC4\x8D";  // "č", two bytes each
    const std::string broken = std::string(2046, 'b') + "\xC4\xC4\x8D";  // a lone lead byte, then "č"
    const ProfileFile file = fileWith("[s]\nascii=" + ascii + "\nczech=" + czech + "\nbroken=" + broken + "\n");

    EXPECT_EQ(file.readString("s", "ascii"), std::string(2047, 'a'));
    EXPECT_EQ(file.readString("s", "czech"), czech.substr(0, 2 * 2047));
    EXPECT_EQ(file.readString("s", "broken"), std::string(2046, 'b') + "\xC4");
}

TEST_F(ProfileFileTest, ReadsNumbersInDecimalAndHexadecimal) {
    const ProfileFile file = fileWith(
        "[n]\ndec=42\nneg=-7\nplus=+5\nhex=0x1F\nHEX=0X10\nword=abc\nmixed=12abc\nempty=\n"
        "huge=99999999999999999999999\nbadhex=0xZZ\n");
    EXPECT_EQ(file.readInt("n", "dec"), 42);
    EXPECT_EQ(file.readInt("n", "neg"), -7);
    EXPECT_EQ(file.readInt("n", "plus"), 5);
    EXPECT_EQ(file.readInt("n", "hex"), 31);
    EXPECT_EQ(file.readInt("n", "HEX", 9), 31);  // names match regardless of case: the first "hex" counts
    EXPECT_EQ(file.readInt("n", "word", 9), 0);
    EXPECT_EQ(file.readInt("n", "mixed", 9), 0);
    EXPECT_EQ(file.readInt("n", "empty", 9), 0);
    EXPECT_EQ(file.readInt("n", "huge", 9), 0);
    EXPECT_EQ(file.readInt("n", "badhex", 9), 0);
    EXPECT_EQ(file.readInt("n", "missing", 9), 9);
}

TEST_F(ProfileFileTest, WritesANewFileSectionBySection) {
    ProfileFile file(path);
    file.writeString("1", "name", "Eva");
    file.writeString("1", "Eva", "c0de");
    file.writeString("c0de", "user", "Eva");
    file.writeInt("All", "Count", 1);
    EXPECT_EQ(readText(path), "[1]\nname=Eva\nEva=c0de\n[c0de]\nuser=Eva\n[All]\nCount=1\n");
}

TEST_F(ProfileFileTest, EditsChangeOnlyTheirLinesAndKeepEveryOtherByte) {
    ProfileFile file = fileWith(
        "; kept comment \xE8\r\n"
        "[One]\r\n"
        "  Alpha = old  \r\n"
        "beta=2\r\n"
        "no equals here\r\n"
        "\r\n"
        "; comment of the next section\r\n"
        "[Two]\r\n"
        "gamma=\xFF\xFE\r\n"
        "[one]\r\n"
        "alpha=duplicate section stays\r\n"
        "[Tail]\r\n"
        "last=unterminated");

    file.writeString("ONE", "alpha", "new");     // in place, the file's spelling of the key stays
    file.writeString("one", "delta", "4");       // after the section's last entry, before its blank line
    file.writeString("Tail", "more", "x");       // terminates the last line with the file's own line end
    file.writeString("Three", "k", "v");         // a new section at the end
    file.writeInt("Two", "count", 0x10);         // numbers are written in decimal

    EXPECT_EQ(readText(path),
              "; kept comment \xE8\r\n"
              "[One]\r\n"
              "  Alpha = new\r\n"
              "beta=2\r\n"
              "no equals here\r\n"
              "delta=4\r\n"
              "\r\n"
              "; comment of the next section\r\n"
              "[Two]\r\n"
              "gamma=\xFF\xFE\r\n"
              "count=16\r\n"
              "[one]\r\n"
              "alpha=duplicate section stays\r\n"
              "[Tail]\r\n"
              "last=unterminated\r\n"
              "more=x\r\n"
              "[Three]\r\n"
              "k=v\r\n");
}

TEST_F(ProfileFileTest, DeletionRemovesTheKeyAndLeavesTheHeader) {
    ProfileFile file = fileWith("[code]\nuser=Eva\nUSER=twice\nindex=1\n[other]\nuser=stays\n");
    file.deleteKey("Code", "user");
    EXPECT_EQ(file.readString("code", "user", "gone"), "gone");
    file.deleteKey("code", "index");
    EXPECT_EQ(readText(path), "[code]\n[other]\nuser=stays\n");
    file.writeString("code", "user", "back");
    EXPECT_EQ(readText(path), "[code]\nuser=back\n[other]\nuser=stays\n");
}

TEST_F(ProfileFileTest, ManyChangesAreWrittenAsOneAndReadBeforeTheyAreWritten) {
    ProfileFile file = fileWith("; head\n[7]\nname=Eva\nOld=aa\n; note\nNAME=twice\nEva=bb\nold=cc\n[x]\nk=v\n"
                                "[ 7 ]\nlate=hidden\n");
    const platform::ProfileSnapshot before = file.snapshot();
    const auto original = inode();
    file.change([&](platform::ProfileEdit& edit) {
        edit.retainKeys("7", {"name", "eva"});
        EXPECT_EQ(edit.readString("7", "old", "gone"), "gone");  // the edit reads its own changes
        EXPECT_EQ(ProfileFile(path).readString("7", "old"), "aa");  // the file is not written yet
        edit.writeInt("x", "n", 2);
    });
    // The first of each kept key stays, every other entry goes; comments stay, the later "[ 7 ]" is not read.
    EXPECT_EQ(readText(path), "; head\n[7]\nname=Eva\n; note\nEva=bb\n[x]\nk=v\nn=2\n[ 7 ]\nlate=hidden\n");
    EXPECT_EQ(before.readString("7", "old"), "aa");  // a snapshot keeps the state it was taken in
    EXPECT_NE(inode(), original);

    // A deleted section goes wherever it appears, so that no later copy of it reads instead.
    file.change([](platform::ProfileEdit& edit) { edit.deleteSection("7"); });
    EXPECT_EQ(readText(path), "; head\n[x]\nk=v\nn=2\n");
    EXPECT_EQ(file.readString("7", "late", "gone"), "gone");

    // What throws midway, or changes nothing, leaves the file alone.
    const auto unchanged = inode();
    EXPECT_THROW(file.change([](platform::ProfileEdit& edit) {
        edit.deleteSection("x");
        edit.writeString("s", "a=b", "v");
    }), std::invalid_argument);
    file.change([](platform::ProfileEdit& edit) {
        edit.deleteSection("7");
        edit.retainKeys("x", {"k", "n"});
    });
    EXPECT_EQ(inode(), unchanged);
    EXPECT_EQ(readText(path), "; head\n[x]\nk=v\nn=2\n");
}

TEST_F(ProfileFileTest, EachChangeReplacesTheFileAndNoChangeLeavesItAlone) {
    ProfileFile file = fileWith("[s]\nk=v\n");
    const auto before = inode();
    file.writeString("S", "K", "v");   // same value
    file.deleteKey("s", "missing");
    file.deleteKey("missing", "k");
    EXPECT_EQ(inode(), before);

    file.writeString("s", "k", "w");
    EXPECT_NE(inode(), before);  // renamed over, never rewritten in place
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"data.adb"});  // no temporary file left
    EXPECT_EQ(ProfileFile(path).readString("s", "k"), "w");
}

TEST_F(ProfileFileTest, WritesThroughASymbolicLink) {
    const std::string real = dir.file("real.adb");
    writeText(real, "[s]\nk=v\n");
    std::error_code error;
    std::filesystem::create_symlink(real, path, error);
    if (error) GTEST_SKIP() << "no symbolic links here for this user: " << error.message();
    ProfileFile(path).writeString("s", "k", "linked");
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(readText(real), "[s]\nk=linked\n");
}

TEST_F(ProfileFileTest, RefusesWhatTheLayoutCannotHold) {
    ProfileFile file = fileWith("[s]\nk=v\n");
    EXPECT_THROW(file.writeString("s", "k", "two\nlines"), std::invalid_argument);
    EXPECT_THROW(file.writeString("s", "a=b", "v"), std::invalid_argument);
    EXPECT_THROW(file.writeString("s", ";comment", "v"), std::invalid_argument);
    EXPECT_THROW(file.writeString("s", "[x]", "v"), std::invalid_argument);
    EXPECT_THROW(file.writeString("s", "  ", "v"), std::invalid_argument);
    EXPECT_THROW(file.writeString("a]b", "k", "v"), std::invalid_argument);
    EXPECT_THROW(file.writeString("", "k", "v"), std::invalid_argument);
    EXPECT_EQ(readText(path), "[s]\nk=v\n");
    EXPECT_TRUE(ProfileFile::isStorableKey("Čeněk Novák"));
    EXPECT_TRUE(ProfileFile::isStorableSection("All"));
}

}  // namespace
