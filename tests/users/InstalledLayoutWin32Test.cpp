// SPDX-License-Identifier: GPL-3.0-or-later
// Installed or carried on Windows: the setup program lays the program out with its data folder beside it
// (scripts/package-windows); such a program keeps data.adb in %APPDATA%\Mivex2\, a carried copy beside itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Installation.h"
#include "tests/engine/TempDir.h"
#include "users/DatabaseFolder.h"
#include "users/UserDataFolder.h"

namespace fs = std::filesystem;

namespace {

fs::path fromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

TEST(InstalledLayoutWin32, TheDataFolderLiesInsideTheProgramFolder) {
    // The setup program installs one folder and removes it again; a data folder outside it would be neither.
    const fs::path data(platform::installation::kDataFolderFromProgram);
    ASSERT_FALSE(data.empty());
    EXPECT_TRUE(data.is_relative()) << data.string();
    EXPECT_NE(data.begin()->string(), "..") << data.string();
}

// A per-user install lies under the user's own folder, whose name may have any letters.
TEST(InstalledLayoutWin32, AProgramFolderUnderANameWithAccentsIsInstalledWithItsDataFolder) {
    testutil::TempDir dir;
    const std::string program = dir.path() + "\\Jiří Šťastný\\Programs\\Mivex 2";
    fs::create_directories(fromUtf8(program));
    EXPECT_FALSE(users::isInstalledProgramFolder(program));
    EXPECT_EQ(users::databaseFolder(program), program + "/");

    fs::create_directories(fromUtf8(program) / platform::installation::kDataFolderFromProgram);
    EXPECT_TRUE(users::isInstalledProgramFolder(program));
    EXPECT_TRUE(users::isInstalledProgramFolder(program + "\\"));
    EXPECT_EQ(users::databaseFolder(program), users::userDataFolder());
}

}  // namespace
