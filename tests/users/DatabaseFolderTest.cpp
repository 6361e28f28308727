// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/DatabaseFolder.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "tests/engine/TempDir.h"
#include "users/UserDatabase.h"

namespace fs = std::filesystem;

namespace {

// Sets (or with nullopt unsets) an environment variable for one test and puts it back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value->c_str(), 1);
        else ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Runs `work` as the user nobody when the test runs as root, for whom no folder is read-only; otherwise
// in this process. Returns what `work` returns.
std::string asOrdinaryUser(const std::function<std::string()>& work) {
    if (::geteuid() != 0) return work();
    int channel[2];
    if (::pipe(channel) != 0) return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string result = "cannot become nobody";
        if (::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0) result = work();
        const ssize_t written = ::write(channel[1], result.data(), result.size());
        ::_exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;) result.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    ::waitpid(child, nullptr, 0);
    return result;
}

fs::perms modeOf(const std::string& path) { return fs::status(path).permissions() & fs::perms::all; }

class DatabaseFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Open to everybody, so that nobody can reach and write what the test sets up.
        fs::permissions(dir.path(), fs::perms::all);
        fs::create_directories(carried);
        fs::create_directories(prefix + "/bin");
        fs::create_directories(prefix + "/share/mivex2");
        fs::create_directories(data);
        fs::create_directories(home);
        fs::permissions(data, fs::perms::all);
        fs::permissions(home, fs::perms::all);
    }
    static void makeReadOnly(const std::string& folder) {
        fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                    fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    }

    testutil::TempDir dir;
    std::string carried = dir.file("carried");  // a program folder with nothing of an install around it
    std::string prefix = dir.file("prefix");    // <prefix>/bin/mivex2 and <prefix>/share/mivex2/, as installed
    std::string installed = prefix + "/bin";
    std::string data = dir.file("data");
    std::string home = dir.file("home");
    ScopedEnv xdgDataHome{"XDG_DATA_HOME", data};
    ScopedEnv homeVariable{"HOME", home};
};

TEST_F(DatabaseFolderTest, ACopyCarriedWithItsProgramKeepsTheDatabaseBesideTheProgram) {
    fs::permissions(carried, fs::perms::all);
    EXPECT_EQ(asOrdinaryUser([&] { return users::databaseFolder(carried); }), carried + "/");
    EXPECT_EQ(users::databaseFolder(carried + "/"), carried + "/");
    // Also where it may not be written (a read-only stick): the write fails then, it does not go elsewhere.
    makeReadOnly(carried);
    EXPECT_EQ(asOrdinaryUser([&] { return users::databaseFolder(carried); }), carried + "/");
    EXPECT_FALSE(fs::exists(data + "/mivex2"));
}

TEST_F(DatabaseFolderTest, AnInstalledProgramSendsTheDatabaseToXdgDataHome) {
    makeReadOnly(installed);
    // The first user added by an ordinary user of an installed program lands in that user's data folder.
    const std::string saved = asOrdinaryUser([&] {
        const std::string folder = users::databaseFolder(installed);
        users::UserDatabase database(folder);
        database.save({{"Eva", "e1e1"}});
        return database.path();
    });
    EXPECT_EQ(saved, data + "/mivex2/data.adb");
    EXPECT_TRUE(fs::exists(saved));
    EXPECT_EQ(modeOf(data + "/mivex2"), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(installed + "/data.adb"));
}

TEST_F(DatabaseFolderTest, RootIsNotSpecialForAnInstalledProgram) {
    // Root may write the program's folder (as it may write /usr/bin): the layout decides, not the right.
    fs::permissions(installed, fs::perms::all);
    EXPECT_EQ(users::databaseFolder(installed), data + "/mivex2/");
    EXPECT_EQ(users::databaseFolder(installed + "/"), data + "/mivex2/");
    for (const char* system : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        EXPECT_TRUE(users::isInstalledProgramFolder(system)) << system;
        EXPECT_EQ(users::databaseFolder(system), data + "/mivex2/") << system;
    }
    EXPECT_FALSE(users::isInstalledProgramFolder(carried));
    EXPECT_FALSE(users::isInstalledProgramFolder(""));
    // A share/mivex2 that is a file, not a folder, is no install.
    fs::remove(prefix + "/share/mivex2");
    std::ofstream(prefix + "/share/mivex2") << "x";
    EXPECT_FALSE(users::isInstalledProgramFolder(installed));
}

TEST_F(DatabaseFolderTest, WithoutXdgDataHomeTheHomeFoldersLocalShareIsUsed) {
    makeReadOnly(installed);
    {
        ScopedEnv unset{"XDG_DATA_HOME", std::nullopt};
        EXPECT_EQ(asOrdinaryUser([&] { return users::databaseFolder(installed); }), home + "/.local/share/mivex2/");
    }
    // Every folder created on the way is private.
    for (const char* created : {"/.local", "/.local/share", "/.local/share/mivex2"})
        EXPECT_EQ(modeOf(home + created), fs::perms::owner_all) << created;

    // A relative XDG_DATA_HOME is no base directory and is ignored, as the XDG rules say.
    ScopedEnv relative{"XDG_DATA_HOME", "relative/share"};
    EXPECT_EQ(asOrdinaryUser([&] { return users::databaseFolder(installed); }), home + "/.local/share/mivex2/");
}

}  // namespace
