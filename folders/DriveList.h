// SPDX-License-Identifier: GPL-3.0-or-later
// The drives a user can browse, as the drive box lists them: each with its text and its root path.
// Linux (DriveListPosix.cpp): the home folder and the mounted file systems a user keeps files in.
// Windows (DriveListWin32.cpp): the drive letters the system has (GetLogicalDrives).
#pragma once

#include <QList>
#include <QString>

struct DriveEntry {
    QString text;
    QString root;  // with '/' separators and a trailing '/' only for a root of its own ("/", "C:/")
};

QList<DriveEntry> systemDrives();

// Whether names that differ only in case are different files (Linux) or the same (Windows).
Qt::CaseSensitivity pathCase();

// The drive of `drives` holding `folder`: the one with the longest root that contains it; "" for none.
QString driveHolding(const QList<QString>& roots, const QString& folder);
