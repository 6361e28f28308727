// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/DirectoryListBox.h"

#include <QDir>
#include <QKeyEvent>

namespace {

constexpr int kFolderRole = Qt::UserRole;
const QString kIndent = QStringLiteral("   ");

// "/a/b/" -> "/a/b"; "/" stays.
QString clean(const QString& folder) {
    const QString path = QDir::cleanPath(folder);
    return path.isEmpty() ? QStringLiteral("/") : path;
}

bool isInside(const QString& folder, const QString& root) {
    return root == QLatin1String("/") || folder == root || folder.startsWith(root + QLatin1Char('/'));
}

}  // namespace

DirectoryListBox::DirectoryListBox(const QString& driveRoot, QWidget* parent)
    : QListWidget(parent), drive_(clean(driveRoot)) {
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) { open(item); });
    const QString working = clean(QDir::currentPath());
    setDirectory(isInside(working, drive_) ? working : drive_);
}

void DirectoryListBox::setDrive(const QString& root) {
    lastOnDrive_[drive_] = directory_;
    drive_ = clean(root);
    setDirectory(lastOnDrive_.value(drive_, drive_));
}

void DirectoryListBox::setDirectory(const QString& folder) {
    directory_ = clean(folder);
    if (!isInside(directory_, drive_)) directory_ = drive_;
    refill();
}

QString DirectoryListBox::chosenFolder() const {
    const QListWidgetItem* highlighted = currentItem();
    return highlighted ? folderOf(*highlighted) : directory_;
}

QString DirectoryListBox::folderOf(const QListWidgetItem& item) { return item.data(kFolderRole).toString(); }

void DirectoryListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirectoryListBox::open(const QListWidgetItem* item) {
    if (item) setDirectory(folderOf(*item));
}

void DirectoryListBox::refill() {
    clear();
    // The drive's root, then each folder on the way down to the current one.
    QStringList steps{drive_};
    const QString below = directory_.mid(drive_ == QLatin1String("/") ? 1 : drive_.size() + 1);
    for (const QString& name : below.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        steps << (steps.back() == QLatin1String("/") ? QString() : steps.back()) + QLatin1Char('/') + name;
    for (int depth = 0; depth < steps.size(); ++depth) {
        const QString& path = steps[depth];
        const QString name = depth == 0 ? path : path.section(QLatin1Char('/'), -1);
        auto* item = new QListWidgetItem(kIndent.repeated(depth) + name, this);
        item->setData(kFolderRole, path);
    }
    QListWidgetItem* current = item(count() - 1);
    const QString prefix = kIndent.repeated(static_cast<int>(steps.size()));
    const QDir dir(directory_);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(prefix + name, this);
        item->setData(kFolderRole, dir.filePath(name));
    }
    setCurrentItem(current);
}
