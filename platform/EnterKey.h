// Enter presses a window's default button. Outside dialogs Qt has no default buttons: fields and
// buttons leave Enter unhandled, so it travels up to the window, where this filter catches it.
#pragma once

class QAbstractButton;
class QWidget;

namespace platform {

// A hidden or disabled `button` is not pressed, and Enter travels on.
void pressOnEnter(QWidget& window, QAbstractButton& button);

}  // namespace platform
