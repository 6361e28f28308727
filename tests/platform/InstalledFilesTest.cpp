// SPDX-License-Identifier: GPL-3.0-or-later
// The installed files describe what the program does at run time: the same package type with the same glob
// and magic, the desktop entry the program names and whose window class it has, the program's version.
#include <gtest/gtest.h>

#include <QFile>

#include "platform/ErrorReport.h"
#include "platform/FreedesktopClassesRoot.h"
#include "platform/Installation.h"

namespace {

namespace installation = platform::installation;

QString installedFile(const QString& name) {
    QFile file(QStringLiteral(MIVEX_DIST_DIR "/") + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(file.readAll());
}

QString desktopId() { return QString::fromLatin1(installation::kDesktopId); }
QString packageType() { return QString::fromLatin1(installation::kPackageMimeType); }

TEST(InstalledFiles, MimePackageDefinesTheTypeTheProgramWrites) {
    const QString xml = installedFile(QStringLiteral("mivex2.xml"));
    EXPECT_TRUE(xml.contains(QStringLiteral("<mime-type type=\"%1\">").arg(packageType()))) << xml.toStdString();
    EXPECT_TRUE(xml.contains(platform::packageMagicXml())) << xml.toStdString();
    EXPECT_TRUE(xml.contains(QStringLiteral("<glob pattern=\"*.cff\" case-sensitive=\"true\"/>")));
    EXPECT_TRUE(xml.contains(QStringLiteral("<icon name=\"application-vnd.mivex2.package\"/>")));
}

TEST(InstalledFiles, DesktopEntryMatchesTheProgramsWindowsAndType) {
    const QString entry = installedFile(desktopId() + QStringLiteral(".desktop"));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=%1;\n").arg(packageType()))) << entry.toStdString();
    // Qt gives the windows the application title as their class.
    EXPECT_TRUE(entry.contains(QStringLiteral("\nStartupWMClass=%1\n").arg(QLatin1String(platform::kApplicationTitle))));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=%1\n").arg(desktopId())));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=mivex2 %f\n")));
}

TEST(InstalledFiles, MetainfoNamesTheEntryAndTheVersion) {
    const QString metainfo = installedFile(desktopId() + QStringLiteral(".metainfo.xml"));
    EXPECT_TRUE(metainfo.contains(QStringLiteral("<id>%1</id>").arg(desktopId())));
    EXPECT_TRUE(metainfo.contains(QStringLiteral("<launchable type=\"desktop-id\">%1.desktop</launchable>").arg(desktopId())));
    EXPECT_TRUE(metainfo.contains(QStringLiteral("<release version=\"%1\"").arg(QLatin1String(installation::kVersion))));
    EXPECT_TRUE(metainfo.contains(QStringLiteral("<mediatype>%1</mediatype>").arg(packageType())));
}

}  // namespace
