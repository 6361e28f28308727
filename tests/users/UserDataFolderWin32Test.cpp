// SPDX-License-Identifier: GPL-3.0-or-later
// The user's data folder on Windows: %APPDATA%\Mivex2\, created when missing.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "users/UserDataFolder.h"

namespace fs = std::filesystem;

namespace {

fs::path fromUtf8(const std::string& text) { return fs::path(std::u8string(text.begin(), text.end())); }

TEST(UserDataFolderWin32, IsMivex2InTheRoamingApplicationDataAndExists) {
    wchar_t appData[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH), 0u);
    const fs::path expected = fs::path(appData) / L"Mivex2";
    std::error_code ignored;
    fs::remove(expected, ignored);  // empty unless a run of the program left users there
    const std::string folder = users::userDataFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    const auto normal = [](fs::path path) { return path.lexically_normal().make_preferred().wstring(); };
    EXPECT_EQ(normal(expected / L""), normal(fromUtf8(folder)));
    EXPECT_TRUE(fs::is_directory(expected));
}

}  // namespace
