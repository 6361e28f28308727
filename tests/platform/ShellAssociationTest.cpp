#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/FreedesktopClassesRoot.h"
#include "platform/ShellAssociation.h"
#include "tests/engine/TempDir.h"

namespace {

using platform::ClassesRootRow;

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
        {QStringLiteral("Soubor CFF\\Shell\\Open\\Command"), QStringLiteral("C:\\Prog\\app.exe %1")},
    };
    EXPECT_EQ(rows, expected);
    // A path with blanks is taken as it is, without quotes.
    EXPECT_EQ(platform::associationRows(QStringLiteral("/opt/my apps/mivex2"))[3].data,
              QStringLiteral("/opt/my apps/mivex2 %1"));
    EXPECT_EQ(platform::associationRows(QStringLiteral("/opt/my apps/mivex2"))[2].data,
              QStringLiteral("/opt/my apps/slozkamivex2.ico"));
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

TEST_F(Freedesktop, PackageTypeDesktopEntryAndIconUnderTheDataFolder) {
    platform::FreedesktopClassesRoot root(data());
    platform::registerAssociation(root, program);

    const QString type = QStringLiteral("application/x-soubor-cff");
    const QString xml = readText(root.mimePackagePath(QStringLiteral("Soubor CFF")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<mime-type type=\"%1\">").arg(type))) << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<glob pattern=\"*.cff\" case-sensitive=\"true\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<comment>Soubor aplikace Mivex 2</comment>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<icon name=\"application-x-soubor-cff\"/>")));

    const QString entry = readText(root.desktopEntryPath(QStringLiteral("Soubor CFF")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"%1\" %f\n").arg(program))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=%1;\n").arg(type)));
    EXPECT_TRUE(QFileInfo::exists(root.iconPath(QStringLiteral("Soubor CFF"))));

    if (!QStandardPaths::findExecutable(QStringLiteral("update-mime-database")).isEmpty()) {
        const QString globs = readText(data() + QStringLiteral("/mime/globs2"));
        EXPECT_TRUE(globs.contains(QStringLiteral("%1:*.cff:cs").arg(type))) << globs.toStdString();
    }
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (!xdgMime.isEmpty()) {
        testutil::writeFile(dir.file("x.cff"), {1, 2, 3});
        QProcess query;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data());
        query.setProcessEnvironment(env);
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("filetype"),
                              QString::fromStdString(dir.file("x.cff"))});
        ASSERT_TRUE(query.waitForFinished(20000));
        EXPECT_EQ(QString::fromUtf8(query.readAllStandardOutput()).trimmed(), type);
    }
}

TEST_F(Freedesktop, RewrittenAtEveryStart) {
    platform::FreedesktopClassesRoot root(data());
    platform::registerAssociation(root, program);
    const QString moved = QString::fromStdString(dir.file("elsewhere/mivex2"));
    platform::FreedesktopClassesRoot again(data());
    platform::registerAssociation(again, moved);
    const QString entry = readText(again.desktopEntryPath(QStringLiteral("Soubor CFF")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=%1 %f\n").arg(moved))) << entry.toStdString();
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
