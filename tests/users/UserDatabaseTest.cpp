#include "users/UserDatabase.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "tests/platform/ProfileTestFiles.h"

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
    EXPECT_TRUE(std::filesystem::exists(programDir + "test_users_db"));
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

TEST_F(UserDatabaseTest, SameNamesAndTheNameNameFollowTheLayout) {
    // Same name, other password: two users, each logging in with their own code.
    const User evaToo{"Eva", "f0f0"};
    db.save({kEva, evaToo});
    EXPECT_EQ(db.load(), (std::vector<User>{kEva, evaToo}));
    EXPECT_EQ(db.lookupLogin(kEva.code), "Eva");
    EXPECT_EQ(db.lookupLogin(evaToo.code), "Eva");

    // Same name and code twice: one shared code section, its index from the later row.
    db.save({kEva, kEva});
    EXPECT_NE(readText(path).find("[e1e1]\nuser=Eva\nindex=2\n"), std::string::npos);

    // A user called "Name" shares the "name" key: the section lists the code as the name.
    testutil::TempDir other;
    UserDatabase named(other.path());
    named.save({{"Name", "abab"}});
    EXPECT_EQ(readText(other.file("data.adb")), "[1]\nname=abab\n[abab]\nuser=Name\nindex=1\n[All]\nCount=1\n");
    EXPECT_EQ(named.lookupLogin("abab"), "Name");
}

TEST_F(UserDatabaseTest, NamesTheLayoutCannotHoldAsKeysDoNotGrowTheFile) {
    const std::vector<User> rows{{"a=b", "aaaa"}, {";semi", "bbbb"}};
    db.save(rows);
    const std::string once = readText(path);
    db.save(rows);
    EXPECT_EQ(readText(path), once);
    EXPECT_EQ(db.load(), (std::vector<User>{{"a=b", ""}, {";semi", ""}}));
    EXPECT_EQ(db.lookupLogin("aaaa"), "a=b");
}

TEST_F(UserDatabaseTest, RemovingTheLastRowKeepsEmptySectionsAndLowersCount) {
    db.save({kEva, kPetr});
    std::vector<User> rows = db.load();
    db.remove(rows, 1);
    EXPECT_EQ(rows, (std::vector<User>{kEva, {"", kPetr.code}}));
    EXPECT_EQ(readText(path),
              "[1]\nname=Eva\nEva=e1e1\n"
              "[e1e1]\nuser=Eva\nindex=1\n"
              "[2]\n"
              "[b2b2]\n"
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
