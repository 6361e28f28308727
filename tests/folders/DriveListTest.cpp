// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>

#include "folders/DriveList.h"

namespace {

TEST(DriveList, TheFolderBelongsToTheLongestRootHoldingIt) {
    const QList<QString> roots{QStringLiteral("/"), QStringLiteral("/home/eva"), QStringLiteral("/media/karta")};
    EXPECT_EQ(driveHolding(roots, QStringLiteral("/home/eva/Dokumenty")), QStringLiteral("/home/eva"));
    EXPECT_EQ(driveHolding(roots, QStringLiteral("/home/eva")), QStringLiteral("/home/eva"));
    EXPECT_EQ(driveHolding(roots, QStringLiteral("/home/eva2")), QStringLiteral("/")) << "a prefix of a name is no folder";
    EXPECT_EQ(driveHolding(roots, QStringLiteral("/media/karta/../x")), QStringLiteral("/"));

    const QList<QString> letters{QStringLiteral("C:/"), QStringLiteral("D:/")};
    EXPECT_EQ(driveHolding(letters, QStringLiteral("D:/Data/x")), QStringLiteral("D:/"));
    EXPECT_EQ(driveHolding(letters, QStringLiteral("C:/")), QStringLiteral("C:/"));
    EXPECT_EQ(driveHolding(letters, QStringLiteral("E:/")), QString());
    // Windows names a drive in either case; Linux names differing in case are other folders.
    EXPECT_EQ(driveHolding(letters, QStringLiteral("d:/data")),
              pathCase() == Qt::CaseInsensitive ? QStringLiteral("D:/") : QString());
}

TEST(DriveList, TheSystemsDrivesHoldTheWorkingFolder) {
    const QList<DriveEntry> drives = systemDrives();
    ASSERT_FALSE(drives.isEmpty());
    QList<QString> roots;
    for (const DriveEntry& drive : drives) {
        EXPECT_FALSE(drive.text.isEmpty());
        EXPECT_TRUE(QDir(drive.root).exists()) << drive.root.toStdString();
        roots << drive.root;
    }
    EXPECT_FALSE(driveHolding(roots, QDir::currentPath()).isEmpty());
    EXPECT_FALSE(driveHolding(roots, QDir::tempPath()).isEmpty());
}

}  // namespace
