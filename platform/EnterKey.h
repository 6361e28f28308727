// Enter presses a window's default button. Outside dialogs Qt has no default buttons: fields and
// buttons leave Enter unhandled, so it travels up to the window, where this filter catches it.
#pragma once

#include <functional>

class QAbstractButton;
class QWidget;

namespace platform {

// `button` names the button Enter presses now, or null for none; a hidden or disabled one is not pressed.
void pressOnEnter(QWidget& window, std::function<QAbstractButton*()> button);

}  // namespace platform
