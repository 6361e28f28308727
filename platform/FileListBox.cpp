#include "platform/FileListBox.h"

#include <QDir>

namespace platform {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent), directory_(QDir::currentPath()) { refill(); }

void FileListBox::setDirectory(const QString& folder) {
    directory_ = folder;
    QDir::setCurrent(folder);
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
    addItems(dir.entryList(QDir::Files | QDir::System, QDir::Name | QDir::IgnoreCase));
}

}  // namespace platform
