// SPDX-License-Identifier: GPL-3.0-or-later
// The frame of every secondary window: a tool window of a fixed client size, created once and only
// shown and hidden, optionally with a background picture behind its controls.
#pragma once

#include <QWidget>

namespace platform {

class Picture;

class ToolWindow : public QWidget {
public:
    // `background`: a JPEG resource path drawn behind the controls, or empty for none.
    ToolWindow(const QString& caption, QSize clientSize, const QString& background = {});

    Picture* background() const { return background_; }

    // Shows the window without blocking the others; one that is already visible, or minimised, comes to the front.
    void showInFront();
    // Makes the window belong to `owner`: it stays above it and is never lost behind it.
    void belongTo(QWidget& owner);

private:
    Picture* background_ = nullptr;
};

// Shows `window` without blocking; an already visible or a minimised one comes to the front.
void showInFront(QWidget& window);

}  // namespace platform
