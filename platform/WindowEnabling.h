// SPDX-License-Identifier: GPL-3.0-or-later
// Enabling and disabling a whole window: it stays visible, and while disabled it takes no input.
#pragma once

class QWidget;

namespace platform {

// Qt switches the menu entry of every submenu along with its window, and back on with it; the entries that
// were off when the window was disabled, or were switched off while it was, are turned off again when it
// is enabled.
void setWindowEnabled(QWidget& window, bool enabled);

}  // namespace platform
