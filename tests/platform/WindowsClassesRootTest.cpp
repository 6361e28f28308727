// SPDX-License-Identifier: GPL-3.0-or-later
// The registry's classes root, against keys of the test's own under HKEY_CURRENT_USER\Software: a machine
// root the user may write, and none, as a user without administrator rights gets none for writing.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/ShellAssociation.h"
#include "platform/win32/WindowsClassesRoot.h"

namespace {

const QString kCommand = QStringLiteral("Soubor CFF\\Shell\\Open\\Command");
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
    EXPECT_EQ(defaultValue(machine, kCommand), "\"C:\\Programy\\Mivex 2\\mivex2.exe\" \"%1\"");
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
    EXPECT_EQ(defaultValue(user, kCommand), "\"D:\\jinde\\mivex2.exe\" \"%1\"");
}

// Counts the rows written through it.
class CountingRoot : public platform::WindowsClassesRoot {
public:
    using WindowsClassesRoot::WindowsClassesRoot;
    bool setDefaultValue(const QString& key, const QString& data) override {
        ++written;
        return WindowsClassesRoot::setDefaultValue(key, data);
    }
    int written = 0;
};

// The rows as the setup program writes them for the machine, the path spelt in another case.
void writeInstallersRows(HKEY classes) {
    const std::pair<const wchar_t*, const wchar_t*> rows[] = {
        {L".cff", L"Soubor CFF"},
        {L"Soubor CFF", L"Soubor aplikace Mivex 2"},
        {L"Soubor CFF\\Defaulticon", L"C:\\PROGRAMY\\Mivex 2\\slozkamivex2.ico"},
        {L"Soubor CFF\\Shell\\Open\\Command", L"\"C:\\PROGRAMY\\Mivex 2\\mivex2.exe\" \"%1\""},
    };
    for (const auto& [key, data] : rows) {
        ASSERT_EQ(RegSetKeyValueW(classes, key, nullptr, REG_SZ, data,
                                  static_cast<DWORD>((wcslen(data) + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
}

// Neither an administrator's start nor that of a user without administrator rights writes over them.
TEST_F(RegistryClasses, TheSetupProgramsRowsStay) {
    openMachine();
    writeInstallersRows(machine);
    CountingRoot administrators(machine, user);
    platform::registerAssociation(administrators, program);
    CountingRoot usersOwn(nullptr, user, machine);
    platform::registerAssociation(usersOwn, program);
    EXPECT_EQ(administrators.written + usersOwn.written, 0);
    EXPECT_EQ(defaultValue(machine, kCommand), "\"C:\\PROGRAMY\\Mivex 2\\mivex2.exe\" \"%1\"");
    EXPECT_EQ(defaultValue(user, kCommand), "<none>");
}

// The user's key is what the shell reads over the machine's: an earlier version's unquoted command there
// is replaced, in the user's classes; from then on nothing is written.
TEST_F(RegistryClasses, AnEarlierVersionsUnquotedCommandIsReplacedOnce) {
    openMachine();
    writeInstallersRows(machine);
    platform::WindowsClassesRoot earlier(nullptr, user, machine);
    for (const auto& row : platform::associationRows(program)) earlier.setDefaultValue(row.key, row.data);
    ASSERT_EQ(RegSetKeyValueW(user, kCommand.toStdWString().c_str(), nullptr, REG_SZ,
                              L"C:\\Programy\\Mivex 2\\mivex2.exe %1",
                              static_cast<DWORD>(sizeof(L"C:\\Programy\\Mivex 2\\mivex2.exe %1"))),
              ERROR_SUCCESS);

    CountingRoot root(nullptr, user, machine);
    platform::registerAssociation(root, program);
    EXPECT_EQ(root.written, 4);
    EXPECT_EQ(defaultValue(user, kCommand), "\"C:\\Programy\\Mivex 2\\mivex2.exe\" \"%1\"");
    CountingRoot again(nullptr, user, machine);
    platform::registerAssociation(again, program);
    EXPECT_EQ(again.written, 0);
}

TEST(SystemClassesRoot, IsTheRegistry) {
    EXPECT_NE(dynamic_cast<platform::WindowsClassesRoot*>(platform::systemClassesRoot().get()), nullptr);
}

}  // namespace
