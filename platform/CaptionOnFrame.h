// SPDX-License-Identifier: GPL-3.0-or-later
// A group box whose caption sits on its frame line, so that controls placed from the box's top edge stay
// inside the frame (the default style draws the caption above the frame). Drawn by hand rather than by a
// style sheet: a style sheet would give the box's controls the desktop's palette instead of the window's.
#pragma once

#include <QGroupBox>

namespace platform {

class CaptionOnFrameGroupBox : public QGroupBox {
public:
    CaptionOnFrameGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace platform
