// SPDX-License-Identifier: GPL-3.0-or-later
// Every window opens wholly inside the available area of the screen it appears on, whatever the screen's
// size and the scale: the fixed places the windows are given may lie off a small or scaled screen.
#pragma once

class QApplication;
class QWidget;

namespace platform {

// From now on, each window that is shown is moved inside its screen's available area while it opens: as it
// is shown, and as it is laid out, framed and activated by the window manager (its title bar known). Once
// it is open, it goes wherever the user puts it.
void keepWindowsOnScreen(QApplication& app);

// Moves `window`, frame included, inside its screen's available area; one larger than the area keeps its
// top left corner inside it.
void moveOnScreen(QWidget& window);

}  // namespace platform
