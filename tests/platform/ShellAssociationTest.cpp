// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "engine/core/Magic.h"
#include "platform/FreedesktopClassesRoot.h"
#include "platform/Installation.h"
#include "platform/ShellAssociation.h"
#include "tests/engine/TempDir.h"

namespace {

using platform::ClassesRootRow;

const QString kPackageType = QStringLiteral("application/vnd.mivex2.package");

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(ShellAssociation, RowsForAWindowsProgramFile) {
    const auto rows = platform::associationRows(QStringLiteral("C:\\Prog\\app.exe"));
    const std::vector<ClassesRootRow> expected{
        {QStringLiteral(".cff"), QStringLiteral("Soubor CFF")},
        {QStringLiteral("Soubor CFF"), QStringLiteral("Soubor aplikace Mivex 2")},
        {QStringLiteral("Soubor CFF\\Defaulticon"), QStringLiteral("C:\\Prog\\slozkamivex2.ico")},
        {QStringLiteral("Soubor CFF\\Shell\\Open\\Command"), QStringLiteral("\"C:\\Prog\\app.exe\" \"%1\"")},
    };
    EXPECT_EQ(rows, expected);
    // Program and package quoted: the shell splits neither at a blank.
    EXPECT_EQ(platform::associationRows(QStringLiteral("/opt/my apps/mivex2"))[3].data,
              QStringLiteral("\"/opt/my apps/mivex2\" \"%1\""));
    EXPECT_EQ(platform::associationRows(QStringLiteral("/opt/my apps/mivex2"))[2].data,
              QStringLiteral("/opt/my apps/slozkamivex2.ico"));
}

TEST(ShellAssociation, CommandProgramOfTheQuotedAndTheOlderUnquotedForm) {
    const QString program = QStringLiteral("C:\\Program Files\\Mivex 2\\mivex2.exe");
    EXPECT_EQ(platform::commandProgram(platform::associationCommand(program)), program);
    EXPECT_EQ(platform::commandProgram(program + QStringLiteral(" %1")), program) << "as earlier versions wrote it";
    EXPECT_EQ(platform::commandProgram(QLatin1Char('"') + program + QStringLiteral("\" %1")), program);
    // A Linux file name may hold quotes and "%1" itself.
    EXPECT_EQ(platform::commandProgram(platform::associationCommand(QStringLiteral("/a \"b\" %1/m"))),
              QStringLiteral("/a \"b\" %1/m"));
    EXPECT_EQ(platform::commandProgram(QStringLiteral("\"C:\\x.exe\" /open \"%2\"")), QString());
    EXPECT_EQ(platform::commandProgram(QStringLiteral(" \"%1\"")), QString());
}

TEST(ShellAssociation, PackageIconBesideTheProgramOrInTheInstalledDataFolder) {
    testutil::TempDir dir;
    const QString bin = QString::fromStdString(dir.file("bin"));
    const QString program = bin + QStringLiteral("/mivex2");
    const QString installed = QDir::cleanPath(bin + QLatin1Char('/') +
                                              QLatin1String(platform::installation::kDataFolderFromProgram));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(installed));
    const QString beside = bin + QStringLiteral("/slozkamivex2.ico");
    EXPECT_EQ(platform::associationRows(program)[2].data, beside) << "neither exists: the one beside is named";

    ASSERT_TRUE(QFile::copy(QStringLiteral(MIVEX_ICON_FILE), installed + QStringLiteral("/slozkamivex2.ico")));
    EXPECT_EQ(platform::associationRows(program)[2].data, installed + QStringLiteral("/slozkamivex2.ico"));

    ASSERT_TRUE(QFile::copy(QStringLiteral(MIVEX_ICON_FILE), beside));
    EXPECT_EQ(platform::associationRows(program)[2].data, beside);
}

// Refuses one key, as the registry does for a key the user may not write.
class RefusingRoot : public platform::ClassesRoot {
public:
    bool setDefaultValue(const QString& key, const QString&) override {
        tried << key;
        return key != QLatin1String("Soubor CFF");
    }
    void finish() override { finished = true; }
    QStringList tried;
    bool finished = false;
};

TEST(ShellAssociation, AFailingRowIsSkippedAndTheRestWritten) {
    RefusingRoot root;
    platform::registerAssociation(root, QStringLiteral("C:\\Prog\\app.exe"));
    EXPECT_EQ(root.tried, (QStringList{QStringLiteral(".cff"), QStringLiteral("Soubor CFF"),
                                       QStringLiteral("Soubor CFF\\Defaulticon"),
                                       QStringLiteral("Soubor CFF\\Shell\\Open\\Command")}));
    EXPECT_TRUE(root.finished);
}

// Holds the rows given to it, as a classes root the shell reads; counts what is written.
class HoldingRoot : public platform::ClassesRoot {
public:
    bool setDefaultValue(const QString& key, const QString& data) override {
        held[key] = data;
        ++written;
        return true;
    }
    bool holds(const QString& key, const QString& data) const override {
        const auto row = held.find(key);
        return row != held.end() && row->second == data;
    }
    std::map<QString, QString> held;
    int written = 0;
};

TEST(ShellAssociation, RowsTheShellReadsAlreadyAreNotWrittenAgain) {
    const QString program = QStringLiteral("C:\\Program Files\\Mivex 2\\mivex2.exe");
    HoldingRoot root;
    platform::registerAssociation(root, program);
    EXPECT_EQ(root.written, 4);
    platform::registerAssociation(root, program);
    EXPECT_EQ(root.written, 4) << "the next start writes nothing";

    // An earlier version's unquoted command splits a package path at its blanks: it is replaced.
    const QString command = QStringLiteral("Soubor CFF\\Shell\\Open\\Command");
    root.held[command] = program + QStringLiteral(" %1");
    platform::registerAssociation(root, program);
    EXPECT_EQ(root.written, 8);
    EXPECT_EQ(root.held[command], QStringLiteral("\"%1\" \"%2\"").arg(program, QStringLiteral("%1")));

    // Another program's command, or a row missing, and every row is written.
    root.held[command] = QStringLiteral("\"C:\\jiny.exe\" \"%1\"");
    platform::registerAssociation(root, program);
    EXPECT_EQ(root.written, 12);
    root.held.erase(QStringLiteral(".cff"));
    platform::registerAssociation(root, program);
    EXPECT_EQ(root.written, 16);
}

class Freedesktop : public ::testing::Test {
protected:
    void SetUp() override {
        // A program folder with a blank in its name, and the icon beside the program as the build leaves it.
        program = QString::fromStdString(dir.file("bin dir/mivex2"));
        ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.file("bin dir"))));
        ASSERT_TRUE(QFile::copy(QStringLiteral(MIVEX_ICON_FILE),
                                QString::fromStdString(dir.file("bin dir/slozkamivex2.ico"))));
    }
    QString data() const { return QString::fromStdString(dir.file("share")); }

    testutil::TempDir dir;
    QString program;
};

// What a desktop tool says of a file, with the test's data folder as the user's.
QString runTool(const QString& tool, const QStringList& arguments, const QString& dataHome) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    process.setProcessEnvironment(env);
    process.start(QStandardPaths::findExecutable(tool), arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError()).trimmed();
}

TEST_F(Freedesktop, PackageTypeDesktopEntryAndIconUnderTheDataFolder) {
    platform::FreedesktopClassesRoot root(data());
    platform::registerAssociation(root, program);

    // The type of the installed program's files, with the glob of the extension row and the packages' magic.
    const QString xml = readText(root.mimePackagePath());
    EXPECT_TRUE(xml.contains(QStringLiteral("<mime-type type=\"%1\">").arg(kPackageType))) << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<glob pattern=\"*.cff\" case-sensitive=\"true\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<comment>Soubor aplikace Mivex 2</comment>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<icon name=\"application-vnd.mivex2.package\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<match type=\"string\" offset=\"0\" value=\"MVX202D\"/>"))) << "any version";

    // Hidden from the menus, opening the type with this program, ignored once the program file is gone.
    const QString entry = readText(root.desktopEntryPath());
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"%1\" %f\n").arg(program))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nTryExec=%1\n").arg(program)));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=%1;\n").arg(kPackageType)));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nNoDisplay=true\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=%1\n").arg(root.iconPath())));
    EXPECT_TRUE(QFileInfo::exists(root.iconPath()));
    EXPECT_FALSE(QFileInfo(root.desktopEntryPath()).fileName().startsWith(QLatin1String(platform::installation::kDesktopId)))
        << "the association must not hide the installed menu entry";
    if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
        EXPECT_EQ(runTool(QStringLiteral("desktop-file-validate"), {root.desktopEntryPath()}, data()), QString());
    }

    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty()) GTEST_SKIP() << "xdg-utils is not installed";
    const std::vector<unsigned char> package(engine::core::kMagicPackage.begin(), engine::core::kMagicPackage.end());
    testutil::writeFile(dir.file("x.cff"), {1, 2, 3});
    testutil::writeFile(dir.file("package without extension"), package);
    const auto fileType = [&](const std::string& name) {
        return runTool(QStringLiteral("xdg-mime"),
                       {QStringLiteral("query"), QStringLiteral("filetype"), QString::fromStdString(dir.file(name))}, data());
    };
    EXPECT_EQ(fileType("x.cff"), kPackageType);
    EXPECT_EQ(fileType("package without extension"), kPackageType) << "found by its magic";
}

TEST_F(Freedesktop, RewrittenAtEveryStart) {
    platform::FreedesktopClassesRoot root(data());
    platform::registerAssociation(root, program);
    const QString moved = QString::fromStdString(dir.file("elsewhere/mivex2"));
    platform::FreedesktopClassesRoot again(data());
    platform::registerAssociation(again, moved);
    const QString entry = readText(again.desktopEntryPath());
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=%1 %f\n").arg(moved))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nTryExec=%1\n").arg(moved)));
}

// An installed program's association is the system's; a user association an earlier start wrote for it
// would outlive the package's removal and costs every start its time.
TEST_F(Freedesktop, AProgramTheSystemAssociatesWritesNothingAndRemovesWhatItWrote) {
    const QString system = QString::fromStdString(dir.file("system"));
    const QString entry = system + QStringLiteral("/applications/%1.desktop").arg(platform::installation::kDesktopId);
    const auto installEntry = [&](const QString& exec, const QString& type) {
        ASSERT_TRUE(QDir().mkpath(system + QStringLiteral("/applications")));
        QFile file(entry);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Mivex 2\nExec=%1 %f\nMimeType=%2;\n"
                                  "\n[Desktop Action x]\nExec=/elsewhere %f\n").arg(exec, type).toUtf8());
    };
    testutil::writeFile(program.toStdString(), {});
    platform::FreedesktopClassesRoot earlier(data(), {system});
    platform::registerAssociation(earlier, program);  // a copy, before the system had an entry
    ASSERT_TRUE(QFileInfo::exists(earlier.mimePackagePath()));

    // Entries that name another program, or another type, leave the user association as it is.
    for (const auto& [exec, type] : {std::pair{QStringLiteral("/usr/bin/true"), kPackageType},
                                     std::pair{QStringLiteral("\"%1\"").arg(program), QStringLiteral("text/plain")}}) {
        installEntry(exec, type);
        platform::FreedesktopClassesRoot root(data(), {system});
        EXPECT_FALSE(root.associatedBySystem(program)) << exec.toStdString();
        platform::registerAssociation(root, program);
        EXPECT_TRUE(QFileInfo::exists(root.desktopEntryPath()));
    }

    installEntry(QStringLiteral("\"%1\"").arg(program), kPackageType);
    platform::FreedesktopClassesRoot root(data(), {QString::fromStdString(dir.file("empty")), system});
    EXPECT_TRUE(root.associatedBySystem(program));
    EXPECT_FALSE(root.associatedBySystem(QString::fromStdString(dir.file("elsewhere/mivex2"))));
    platform::registerAssociation(root, program);
    EXPECT_FALSE(QFileInfo::exists(root.mimePackagePath()));
    EXPECT_FALSE(QFileInfo::exists(root.desktopEntryPath()));
    EXPECT_FALSE(QFileInfo::exists(root.iconPath()));
}

TEST_F(Freedesktop, UnwritableDataFolderFailsQuietly) {
    testutil::writeFile(dir.file("blocked"), {});
    platform::FreedesktopClassesRoot root(QString::fromStdString(dir.file("blocked")));
    EXPECT_FALSE(root.setDefaultValue(QStringLiteral(".cff"), QStringLiteral("Soubor CFF")));
    platform::registerAssociation(root, program);
}

TEST(FreedesktopExec, QuotesWhatTheDesktopWouldSplitOrExpand) {
    EXPECT_EQ(platform::desktopExecLine(QStringLiteral("/usr/bin/mivex2 %1")), QStringLiteral("/usr/bin/mivex2 %f"));
    EXPECT_EQ(platform::desktopExecLine(QStringLiteral("/a b/$x\"y %1")), QStringLiteral("\"/a b/\\$x\\\"y\" %f"));
    EXPECT_EQ(platform::desktopExecLine(QStringLiteral("/a%b/m %1")), QStringLiteral("/a%%b/m %f"));
    EXPECT_EQ(platform::desktopExecLine(QStringLiteral("\"/a b/m\" \"%1\"")), QStringLiteral("\"/a b/m\" %f"));
}

TEST(FreedesktopDataHome, FollowsXdgDataHome) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/tmp/somewhere");
    EXPECT_EQ(platform::FreedesktopClassesRoot::defaultDataHome(), QStringLiteral("/tmp/somewhere"));
    qputenv("XDG_DATA_HOME", "relative/path");
    EXPECT_TRUE(platform::FreedesktopClassesRoot::defaultDataHome().endsWith(QStringLiteral("/.local/share")));
    qputenv("XDG_DATA_HOME", saved);
}

}  // namespace
