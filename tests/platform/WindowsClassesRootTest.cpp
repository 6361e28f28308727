// SPDX-License-Identifier: GPL-3.0-or-later
// The registry's classes root, against keys of the test's own under HKEY_CURRENT_USER\Software: a machine
// root the user may write, and none, as a user without administrator rights gets none for writing.
#include <gtest/gtest.h>

#include <string>

#include "platform/ShellAssociation.h"
#include "platform/win32/WindowsClassesRoot.h"

namespace {

const std::wstring kScratch = L"Software\\Mivex2Tests\\ClassesRoot-" + std::to_wstring(GetCurrentProcessId());

HKEY createKey(const std::wstring& path, REGSAM rights) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, rights, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    return key;
}

// The default value of `key` under `root`, in UTF-8; "<none>" when it is missing.
std::string defaultValue(HKEY root, const QString& key) {
    wchar_t value[512];
    DWORD bytes = sizeof value;
    if (RegGetValueW(root, key.toStdWString().c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) != ERROR_SUCCESS)
        return "<none>";
    return QString::fromWCharArray(value).toStdString();
}

class RegistryClasses : public ::testing::Test {
protected:
    void SetUp() override {
        user = createKey(kScratch + L"\\user", KEY_ALL_ACCESS);
    }
    void TearDown() override {
        if (machine) RegCloseKey(machine);
        RegCloseKey(user);
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch.c_str());
    }
    void openMachine() { machine = createKey(kScratch + L"\\machine", KEY_ALL_ACCESS); }

    HKEY machine = nullptr;
    HKEY user = nullptr;
    const QString program = QStringLiteral("C:\\Programy\\Mivex 2\\mivex2.exe");
};

TEST_F(RegistryClasses, GoToTheMachineWhereTheUserMayWriteIt) {
    openMachine();
    platform::WindowsClassesRoot root(machine, user);
    platform::registerAssociation(root, program);
    EXPECT_FALSE(root.perUser());
    for (const auto& row : platform::associationRows(program)) {
        EXPECT_EQ(defaultValue(machine, row.key), row.data.toStdString()) << row.key.toStdString();
        EXPECT_EQ(defaultValue(user, row.key), "<none>") << row.key.toStdString();
    }
    EXPECT_EQ(defaultValue(machine, QStringLiteral("Soubor CFF\\Shell\\Open\\Command")),
              "C:\\Programy\\Mivex 2\\mivex2.exe %1");
}

TEST_F(RegistryClasses, GoToTheUsersOwnClassesWithoutAdministratorRights) {
    platform::WindowsClassesRoot root(nullptr, user);
    platform::registerAssociation(root, program);
    EXPECT_TRUE(root.perUser());
    for (const auto& row : platform::associationRows(program)) {
        EXPECT_EQ(defaultValue(user, row.key), row.data.toStdString()) << row.key.toStdString();
    }
    // Rewritten at the next start, from another folder: the rows follow the program.
    platform::WindowsClassesRoot again(nullptr, user);
    platform::registerAssociation(again, QStringLiteral("D:\\jinde\\mivex2.exe"));
    EXPECT_EQ(defaultValue(user, QStringLiteral("Soubor CFF\\Shell\\Open\\Command")),
              "D:\\jinde\\mivex2.exe %1");
}

TEST(SystemClassesRoot, IsTheRegistry) {
    EXPECT_NE(dynamic_cast<platform::WindowsClassesRoot*>(platform::systemClassesRoot().get()), nullptr);
}

}  // namespace
