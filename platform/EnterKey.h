// SPDX-License-Identifier: GPL-3.0-or-later
// Enter presses a window's default button, and Esc closes a window, as both do in dialogs. Outside dialogs
// Qt does neither: fields and buttons leave the keys unhandled, so they travel up to the window, where
// these filters catch them.
#pragma once

class QAbstractButton;
class QWidget;

namespace platform {

// A hidden or disabled `button` is not pressed, and Enter travels on.
void pressOnEnter(QWidget& window, QAbstractButton& button);
// Esc that no control of `window` took closes it.
void closeOnEscape(QWidget& window);

}  // namespace platform
