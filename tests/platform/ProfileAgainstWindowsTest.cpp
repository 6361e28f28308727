// SPDX-License-Identifier: GPL-3.0-or-later
// Our INI text against Windows' own private-profile functions on one file: what either writes, the other
// reads the same, and an edit of ours leaves Windows' lines as Windows reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/ProfileDocument.h"
#include "tests/engine/TempDir.h"

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string windowsRead(const std::string& path, const char* section, const char* key) {
    char value[2048];
    GetPrivateProfileStringA(section, key, "<none>", value, sizeof value, path.c_str());
    return value;
}

class ProfileAgainstWindows : public ::testing::Test {
protected:
    testutil::TempDir dir;
    std::string path = dir.file("data.adb");
};

TEST_F(ProfileAgainstWindows, WhatWindowsWritesWeRead) {
    ASSERT_TRUE(WritePrivateProfileStringA("Eva", "heslo", "tajne slovo", path.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Eva", "kod", "0x1F", path.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Adam", "heslo", "", path.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("eva", "HESLO", "jine slovo", path.c_str()));  // names without case
    const platform::ProfileDocument ours(fileText(path));
    EXPECT_EQ(ours.value("Eva", "heslo"), "jine slovo");
    EXPECT_EQ(ours.value("EVA", "Kod"), "0x1F");
    EXPECT_EQ(ours.value("Adam", "heslo"), "");
    EXPECT_EQ(ours.value("Adam", "jmeno"), std::nullopt);
    EXPECT_EQ(ours.sectionNames(), (std::vector<std::string>{"Eva", "Adam"}));
}

TEST_F(ProfileAgainstWindows, WhatWeWriteWindowsReads) {
    platform::ProfileDocument ours;
    ours.setValue("Eva", "heslo", "tajne slovo");
    ours.setValue("Eva", "kod", "42");
    ours.setValue("Adam", "heslo", "");
    ours.setValue(" Eva ", "KOD", "43");  // the same key: replaced in place
    writeText(path, ours.bytes());
    EXPECT_EQ(windowsRead(path, "eva", "heslo"), "tajne slovo");
    EXPECT_EQ(windowsRead(path, "Eva", "kod"), "43");
    EXPECT_EQ(windowsRead(path, "Adam", "heslo"), "");
    EXPECT_EQ(windowsRead(path, "Adam", "kod"), "<none>");
    EXPECT_EQ(GetPrivateProfileIntA("Eva", "kod", -1, path.c_str()), 43u);
}

TEST_F(ProfileAgainstWindows, OurEditsKeepWhatWindowsWroteAndBothAgree) {
    // A file as a Windows program leaves it: CRLF line ends, blanks around "=", a comment.
    writeText(path, "; uzivatele\r\n[Eva]\r\nheslo = stare \r\nkod=1\r\n\r\n[Adam]\r\nheslo=a\r\n");
    platform::ProfileDocument ours(fileText(path));
    EXPECT_EQ(ours.value("Eva", "heslo"), windowsRead(path, "Eva", "heslo"));
    ours.setValue("Eva", "heslo", "nove");
    ours.setValue("Adam", "kod", "7");
    ours.removeKey("Eva", "kod");
    writeText(path, ours.bytes());
    // The value changes in place, blanks around "=" and all.
    EXPECT_EQ(fileText(path), "; uzivatele\r\n[Eva]\r\nheslo = nove\r\n\r\n[Adam]\r\nheslo=a\r\nkod=7\r\n");
    EXPECT_EQ(windowsRead(path, "Eva", "heslo"), "nove");
    EXPECT_EQ(windowsRead(path, "Eva", "kod"), "<none>");
    EXPECT_EQ(windowsRead(path, "Adam", "kod"), "7");

    // And Windows' edit of our file reads back the same through ours.
    ASSERT_TRUE(WritePrivateProfileStringA("Adam", "heslo", "b", path.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Eva", nullptr, nullptr, path.c_str()));  // removes the section
    const platform::ProfileDocument after(fileText(path));
    EXPECT_EQ(after.value("Adam", "heslo"), "b");
    EXPECT_EQ(after.value("Adam", "kod"), "7");
    EXPECT_EQ(after.value("Eva", "heslo"), std::nullopt);
}

}  // namespace
