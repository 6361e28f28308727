// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include "folders/DriveList.h"

// "C: [Systém]" as Windows' own drive boxes write a drive with a volume label; "C:" without one. A drive
// without a medium (an empty card reader) is listed all the same: the folder list then shows it empty.
QList<DriveEntry> systemDrives() {
    QList<DriveEntry> drives;
    const DWORD letters = GetLogicalDrives();
    for (int bit = 0; bit < 26; ++bit) {
        if (!(letters & (1u << bit))) continue;
        const QString drive = QString(QChar(u'A' + bit)) + QLatin1Char(':');
        const std::wstring root = (drive + QLatin1Char('\\')).toStdWString();
        wchar_t label[MAX_PATH + 1] = {};
        // Asking a removable drive without a medium must not bring up the system's "insert a disk" box.
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        const bool named = GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
                           label[0] != L'\0';
        SetErrorMode(oldMode);
        const QString text = named ? QStringLiteral("%1 [%2]").arg(drive.toLower(), QString::fromWCharArray(label))
                                   : drive.toLower();
        drives.append({text, drive + QLatin1Char('/')});
    }
    return drives;
}

Qt::CaseSensitivity pathCase() { return Qt::CaseInsensitive; }
