// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/FileListBox.h"

#include <algorithm>
#include <cerrno>

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "engine/core/EntryNames.h"
#include "platform/RuntimeError.h"

namespace platform {

bool FileListBox::lists(const QFileInfo& entry) {
    // No hidden ones (names starting with "."), no links, sockets, pipes or devices; nor names a package could
    // not give back (control characters): they stay, and are counted as left out.
    return entry.isFile() && !entry.isSymLink() && !entry.isHidden() &&
           engine::core::isRestorableName(entry.fileName().toStdString());
}

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent), directory_(QDir::currentPath()) { refill(); }

void FileListBox::setDirectory(const QString& folder) {
    if (!QFileInfo(folder).isDir()) throw fileError(ENOENT);
    if (!QDir::setCurrent(folder)) throw fileError(EACCES);
    directory_ = folder;
    refill();
}

QStringList FileListBox::fileNames() const {
    QStringList names;
    for (int row = 0; row < count(); ++row) names << item(row)->text();
    return names;
}

int FileListBox::leftOutCount() const {
    const QStringList names = fileNames();
    const QSet<QString> listed(names.begin(), names.end());
    const QStringList all =
        QDir(directory_).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const QString& name) { return !listed.contains(name); }));
}

void FileListBox::refill() {
    clear();
    QStringList names;
    for (const QFileInfo& entry : QDir(directory_).entryInfoList(QDir::Files | QDir::Hidden,
                                                                 QDir::Name | QDir::IgnoreCase))
        if (lists(entry)) names << entry.fileName();
    addItems(names);
}

}  // namespace platform
