// Every window opens wholly inside the available area of the screen it appears on, whatever the screen's
// size and the scale: the fixed places the windows are given may lie off a small or scaled screen.
#pragma once

class QApplication;
class QWidget;

namespace platform {

// From now on, each window that is shown is moved inside its screen's available area: as it is shown, once
// it is on the screen, and once more when the window manager has framed it (its title bar known). A window the user moves
// afterwards goes wherever the user puts it.
void keepWindowsOnScreen(QApplication& app);

// Moves `window`, frame included, inside its screen's available area; one larger than the area keeps its
// top left corner inside it.
void moveOnScreen(QWidget& window);

}  // namespace platform
