// SPDX-License-Identifier: GPL-3.0-or-later
// The drive box: the drives of this system (DriveList.h), each shown with its root path.
#pragma once

#include <QComboBox>

class DriveComboBox : public QComboBox {
public:
    explicit DriveComboBox(QWidget* parent = nullptr);

    QString drive() const;  // the chosen drive's root path
    // The drive holding `folder`: the one with the longest root that contains it.
    QString driveOf(const QString& folder) const;
};
