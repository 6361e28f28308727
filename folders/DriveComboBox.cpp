// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/DriveComboBox.h"

#include <algorithm>

#include <QDir>

#include "folders/DriveList.h"

DriveComboBox::DriveComboBox(QWidget* parent) : QComboBox(parent) {
    for (const DriveEntry& drive : systemDrives()) addItem(drive.text, drive.root);
    setCurrentIndex(std::max(0, findData(driveOf(QDir::currentPath()))));
}

QString DriveComboBox::drive() const { return currentData().toString(); }

QString DriveComboBox::driveOf(const QString& folder) const {
    QList<QString> roots;
    for (int i = 0; i < count(); ++i) roots << itemData(i).toString();
    return driveHolding(roots, folder);
}
