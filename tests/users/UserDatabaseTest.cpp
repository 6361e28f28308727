// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/UserDatabase.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/platform/ProfileTestFiles.h"
#include "users/NameKey.h"
#include "users/UserDataFolder.h"

using testutil::readText;
using testutil::writeText;
using users::User;
using users::UserDatabase;

namespace {

// User codes come from the caller; any hexadecimal text stands in for them here.
const User kEva{"Eva", "e1e1"};
const User kPetr{"Petr", "b2b2"};
const User kJana{"Jana", "c3c3"};

class UserDatabaseTest : public ::testing::Test {
protected:
    testutil::TempDir dir;
    UserDatabase db{dir.path()};
    std::string path = dir.file("data.adb");
};

TEST_F(UserDatabaseTest, LivesInTheGivenOrTheProgramsDirectory) {
    EXPECT_EQ(db.path(), dir.path() + "/data.adb");
    EXPECT_EQ(UserDatabase(dir.path() + "/").path(), db.path());

    const std::string programDir = users::programDirectory();
    ASSERT_FALSE(programDir.empty());
    EXPECT_EQ(programDir.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(programDir + "test_users_db") ||
                std::filesystem::exists(programDir + "test_users_db.exe"));
    EXPECT_EQ(UserDatabase::besideProgram().path(), programDir + "data.adb");
}

TEST_F(UserDatabaseTest, WithoutAFileNobodyIsListedAndNobodyLogsIn) {
    EXPECT_TRUE(db.load().empty());
    EXPECT_EQ(db.lookupLogin(kEva.code), "");
    EXPECT_FALSE(std::filesystem::exists(path));
    db.save({kEva});  // the first user creates the file
    EXPECT_EQ(db.lookupLogin(kEva.code), "Eva");
}

TEST_F(UserDatabaseTest, SaveWritesTheDocumentedLayoutAndLoadReadsItBack) {
    db.save({kEva, kPetr});
    EXPECT_EQ(readText(path),
              "[1]\nname=Eva\nEva=e1e1\n"
              "[e1e1]\nuser=Eva\nindex=1\n"
              "[2]\nname=Petr\nPetr=b2b2\n"
              "[b2b2]\nuser=Petr\nindex=2\n"
              "[All]\nCount=2\n");
    EXPECT_EQ(db.load(), (std::vector<User>{kEva, kPetr}));
    EXPECT_EQ(db.lookupLogin("B2B2"), "Petr");  // section names match regardless of case
    EXPECT_EQ(db.lookupLogin("ffff"), "");

    const std::string saved = readText(path);
    db.save({kEva, kPetr});  // saving the same list changes nothing
    EXPECT_EQ(readText(path), saved);
}

TEST_F(UserDatabaseTest, LoadSkipsNumbersWithoutANameAndStopsAtCount) {
    writeText(path,
              "[All]\r\nCount=3\r\n"
              "[1]\r\nname=Eva\r\nEva=e1e1\r\n"
              "[2]\r\nPetr=b2b2\r\n"
              "[3]\r\nname=Jana\r\n"
              "[4]\r\nname=Beyond\r\nBeyond=dddd\r\n"
              "[05]\r\nname=NotANumber\r\n");
    EXPECT_EQ(db.load(), (std::vector<User>{kEva, {"Jana", ""}}));

    writeText(path, "[All]\nCount=999999999999999\n[2]\nname=Eva\nEva=e1e1\n");  // an absurd count
    EXPECT_EQ(db.load(), std::vector<User>{kEva});
    writeText(path, "[All]\nCount=0x2\n[2]\nname=Eva\nEva=e1e1\n");
    EXPECT_EQ(db.load(), std::vector<User>{kEva});
}

TEST_F(UserDatabaseTest, SameNamesShareOrSplitSectionsAsTheirCodesDo) {
    // Same name, other password: two users, each logging in with their own code.
    const User evaToo{"Eva", "f0f0"};
    db.save({kEva, evaToo});
    EXPECT_EQ(db.load(), (std::vector<User>{kEva, evaToo}));
    EXPECT_EQ(db.lookupLogin(kEva.code), "Eva");
    EXPECT_EQ(db.lookupLogin(evaToo.code), "Eva");

    // Same name and code twice: one shared code section, its index from the later row.
    db.save({kEva, kEva});
    EXPECT_NE(readText(path).find("[e1e1]\nuser=Eva\nindex=2\n"), std::string::npos);
}

TEST_F(UserDatabaseTest, NamesThatAreNoPlainKeysAreStoredEscapedAndReadBack) {
    EXPECT_EQ(users::nameKey("Čeněk Novák"), "Čeněk Novák");
    EXPECT_EQ(users::nameKey("user"), "user");
    EXPECT_EQ(users::nameKey("a=b"), "%a%3Db");
    EXPECT_EQ(users::nameKey("Name"), "%Name");
    EXPECT_EQ(users::nameKey("[x] y"), "%%5Bx%5D%20y");
    EXPECT_EQ(users::nameKey(";#%"), "%%3B%23%25");
    EXPECT_NE(users::nameKey("%a%3Db"), users::nameKey("a=b"));

    const std::vector<User> rows{{"a=b", "aaaa"}, {"Name", "abab"}, {";semi", "bbbb"}, {"%a%3Db", "cccc"}};
    db.save(rows);
    EXPECT_EQ(readText(path),
              "[1]\nname=a=b\n%a%3Db=aaaa\n[aaaa]\nuser=a=b\nindex=1\n"
              "[2]\nname=Name\n%Name=abab\n[abab]\nuser=Name\nindex=2\n"
              "[3]\nname=;semi\n%%3Bsemi=bbbb\n[bbbb]\nuser=;semi\nindex=3\n"
              "[4]\nname=%a%3Db\n%%25a%253Db=cccc\n[cccc]\nuser=%a%3Db\nindex=4\n"
              "[All]\nCount=4\n");
    EXPECT_EQ(db.load(), rows);
    const std::string once = readText(path);
    db.save(rows);
    EXPECT_EQ(readText(path), once);
}

TEST_F(UserDatabaseTest, UsersOfEarlierVersionsThatNoKeyListedAreFoundAndRemovable) {
    // An earlier save wrote no code for "a=b", the code over the name of "Name", and numbered Jana above
    // the count; all three still log in.
    writeText(path,
              "[1]\nname=a=b\n[aaaa]\nuser=a=b\nindex=1\n"
              "[2]\nname=abab\n[abab]\nuser=Name\nindex=2\n"
              "[3]\nname=Eva\nEva=e1e1\n[e1e1]\nuser=Eva\nindex=3\n"
              "[5]\nname=Jana\nJana=c3c3\n[c3c3]\nuser=Jana\nindex=5\n"
              "[All]\nCount=3\n");
    const std::vector<User> expected{{"a=b", "aaaa"}, {"Name", "abab"}, kEva, kJana};
    std::vector<User> rows = db.load();
    EXPECT_EQ(rows, expected);

    db.remove(rows, 0);
    db.remove(rows, 1);
    EXPECT_EQ(db.load(), (std::vector<User>{kEva, kJana}));
    for (const char* gone : {"aaaa", "abab", "a=b", "Name"})
        EXPECT_EQ(readText(path).find(gone), std::string::npos) << gone;
    EXPECT_EQ(readText(path),
              "[1]\nname=Eva\nEva=e1e1\n[2]\nname=Jana\nJana=c3c3\n"
              "[e1e1]\nuser=Eva\nindex=1\n[c3c3]\nuser=Jana\nindex=2\n"
              "[All]\nCount=2\n");
}

TEST_F(UserDatabaseTest, OneSaveCleansTheLeftoversOfEarlierRenumbering) {
    // What the earlier save left after removing the first two of five users: every section kept the key of
    // its former user, the former last sections stayed, and the removed users' code sections their headers.
    writeText(path,
              "[1]\nname=Eva\nA=a1\nEva=e1e1\n[a1]\n"
              "[2]\nname=Petr\nGone=9f9f\nPetr=b2b2\n[9f9f]\n"
              "[3]\nname=Jana\nEva=e1e1\nJana=c3c3\n"
              "[4]\nname=Jana\nPetr=b2b2\nJana=c3c3\n[5]\nname=Jana\nJana=c3c3\n"
              "[e1e1]\nuser=Eva\nindex=1\n[b2b2]\nuser=Petr\nindex=2\n[c3c3]\nuser=Jana\nindex=3\n"
              "[All]\nCount=3\n");
    db.save(db.load());
    EXPECT_EQ(readText(path),
              "[1]\nname=Eva\nEva=e1e1\n"
              "[2]\nname=Petr\nPetr=b2b2\n"
              "[3]\nname=Jana\nJana=c3c3\n"
              "[e1e1]\nuser=Eva\nindex=1\n[b2b2]\nuser=Petr\nindex=2\n[c3c3]\nuser=Jana\nindex=3\n"
              "[All]\nCount=3\n");

    // A long list keeps one name and one code per user through removals at its top.
    testutil::TempDir other;
    UserDatabase longList(other.path());
    std::vector<User> many;
    for (int i = 0; i < 150; ++i) many.push_back({"user" + std::to_string(i), "c0de" + std::to_string(i)});
    longList.save(many);
    for (int removal = 0; removal < 2; ++removal) {
        std::vector<User> rows = longList.load();
        longList.remove(rows, 0);
    }
    const std::string file = readText(other.file("data.adb"));
    EXPECT_EQ(longList.load(), std::vector<User>(many.begin() + 2, many.end()));
    std::size_t codeLines = 0;
    for (std::size_t at = file.find("=c0de"); at != std::string::npos; at = file.find("=c0de", at + 1)) ++codeLines;
    EXPECT_EQ(codeLines, 148u);
    for (const char* gone : {"user0=", "user1=", "c0de0\n", "c0de1\n", "[c0de0]", "[c0de1]"})
        EXPECT_EQ(file.find(gone), std::string::npos) << gone;
    EXPECT_EQ(file.find("[149]"), std::string::npos);
}

TEST_F(UserDatabaseTest, RemovingTheLastRowLeavesNothingOfTheUserAndLowersCount) {
    db.save({kEva, kPetr});
    std::vector<User> rows = db.load();
    db.remove(rows, 1);
    EXPECT_EQ(rows, (std::vector<User>{kEva, {"", kPetr.code}}));
    EXPECT_EQ(readText(path),
              "[1]\nname=Eva\nEva=e1e1\n"
              "[e1e1]\nuser=Eva\nindex=1\n"
              "[All]\nCount=1\n");
    EXPECT_EQ(db.load(), std::vector<User>{kEva});
    EXPECT_EQ(db.lookupLogin(kPetr.code), "");
}

TEST_F(UserDatabaseTest, RemovingAMiddleRowKeepsEveryoneElseListed) {
    db.save({kEva, kPetr, kJana});
    std::vector<User> rows = db.load();
    db.remove(rows, 1);
    EXPECT_EQ(db.load(), (std::vector<User>{kEva, kJana}));
    EXPECT_EQ(db.lookupLogin(kEva.code), "Eva");
    EXPECT_EQ(db.lookupLogin(kPetr.code), "");
    EXPECT_EQ(db.lookupLogin(kJana.code), "Jana");

    // Removing again from the reloaded list, then adding, still lists everyone.
    rows = db.load();
    db.remove(rows, 0);
    rows = db.load();
    rows.push_back(kPetr);
    db.save(rows);
    EXPECT_EQ(db.load(), (std::vector<User>{kJana, kPetr}));
    EXPECT_EQ(db.lookupLogin(kEva.code), "");
    EXPECT_EQ(db.lookupLogin(kPetr.code), "Petr");
    EXPECT_THROW(db.remove(rows, 5), std::out_of_range);
}

TEST_F(UserDatabaseTest, ReadOnlyFileStopsSaveAndRemovalAtTheFirstWrite) {
    db.save({kEva, kPetr});
    const std::string before = readText(path);
    ::chmod(path.c_str(), 0444);

    try {
        db.save({kEva, kPetr, kJana});
        FAIL() << "the save succeeded";
    } catch (const platform::WriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + path);
    }

    std::vector<User> rows = db.load();
    EXPECT_THROW(db.remove(rows, 0), platform::WriteError);  // the deletions pass silently, the save reports
    EXPECT_EQ(rows, (std::vector<User>{{"", kEva.code}, kPetr}));
    EXPECT_EQ(readText(path), before);
    EXPECT_EQ(db.lookupLogin(kEva.code), "Eva");
}

}  // namespace
