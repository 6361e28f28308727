// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG pictures decoded with libjpeg, and a widget that shows one behind a window's controls.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

namespace platform {

// A null image when the data is no JPEG picture.
QImage decodeJpeg(const QByteArray& data);
// Reads a file or a Qt resource (":/...") and decodes it; a null image when either fails.
QImage loadJpeg(const QString& path);

// Draws its picture at its top left corner, unscaled, and lets every click through to what lies below.
class Picture : public QWidget {
public:
    explicit Picture(QWidget* parent = nullptr);
    void setPicture(const QImage& image);
    const QImage& picture() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

}  // namespace platform
