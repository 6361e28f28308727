// The drives of a Linux desktop: the home folder and the mounted file systems a user can browse (no
// kernel or runtime file systems), each shown with its root path.
#pragma once

#include <QComboBox>

class DriveComboBox : public QComboBox {
public:
    explicit DriveComboBox(QWidget* parent = nullptr);

    QString drive() const;  // the chosen drive's root path
    // The drive holding `folder`: the one with the longest root that contains it.
    QString driveOf(const QString& folder) const;
};
