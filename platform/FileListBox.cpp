#include "platform/FileListBox.h"

#include <cerrno>

#include <QDir>
#include <QFileInfo>

#include "platform/RuntimeError.h"

namespace platform {

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

void FileListBox::refill() {
    clear();
    const QDir dir(directory_);
    // Plain files only: no hidden ones (names starting with "."), no links, sockets, pipes or devices.
    addItems(dir.entryList(QDir::Files | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase));
}

}  // namespace platform
