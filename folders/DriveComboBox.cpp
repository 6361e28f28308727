#include "folders/DriveComboBox.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>

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

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent) {
    const QString home = QDir::homePath();
    addItem(QStringLiteral("Domovská složka (%1)").arg(home), home);
    // The root file system holds every folder; inside a container or chroot it is not listed as mounted.
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (isUserFileSystem(volume) && !roots.contains(volume.rootPath())) roots << volume.rootPath();
    roots.sort();
    for (const QString& root : roots) {
        const QString name = QStorageInfo(root).displayName();
        addItem(name == root || name.isEmpty() ? root : QStringLiteral("%1 (%2)").arg(name, root), root);
    }
    setCurrentIndex(std::max(0, findData(driveOf(QDir::currentPath()))));
}

QString DriveComboBox::drive() const { return currentData().toString(); }

QString DriveComboBox::driveOf(const QString& folder) const {
    const QString path = QDir::cleanPath(folder);
    QString best = QStringLiteral("/");
    for (int i = 0; i < count(); ++i) {
        const QString root = itemData(i).toString();
        const bool holds = root == QLatin1String("/") || path == root || path.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() >= best.size()) best = root;
    }
    return best;
}
