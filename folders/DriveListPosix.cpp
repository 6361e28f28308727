// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

#include "folders/DriveList.h"

namespace {

// Kernel, device and runtime file systems: nothing a user keeps files in.
bool isUserFileSystem(const QStorageInfo& volume) {
    static const QSet<QByteArray> kSystemTypes{"proc",     "sysfs",    "devtmpfs", "devpts",     "cgroup",
                                               "cgroup2",  "securityfs", "pstore", "bpf",        "tracefs",
                                               "debugfs",  "mqueue",   "hugetlbfs", "configfs",  "fusectl",
                                               "autofs",   "binfmt_misc", "efivarfs", "rpc_pipefs", "nsfs"};
    if (!volume.isValid() || !volume.isReady() || kSystemTypes.contains(volume.fileSystemType())) return false;
    const QString root = volume.rootPath();
    for (const char* system : {"/proc", "/sys", "/dev", "/run", "/boot/efi"})
        if (root == QLatin1String(system) || root.startsWith(QLatin1String(system) + QLatin1Char('/'))) return false;
    const QFileInfo info(root);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

}  // namespace

QList<DriveEntry> systemDrives() {
    const QString home = QDir::homePath();
    QList<DriveEntry> drives{{QStringLiteral("Domovská složka (%1)").arg(home), home}};
    // The root file system holds every folder; inside a container or chroot it is not listed as mounted.
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (isUserFileSystem(volume) && !roots.contains(volume.rootPath())) roots << volume.rootPath();
    roots.sort();
    for (const QString& root : roots) {
        const QString name = QStorageInfo(root).displayName();
        drives.append({name == root || name.isEmpty() ? root : QStringLiteral("%1 (%2)").arg(name, root), root});
    }
    return drives;
}

Qt::CaseSensitivity pathCase() { return Qt::CaseSensitive; }
