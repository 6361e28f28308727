// SPDX-License-Identifier: GPL-3.0-or-later
// "Zrušit" beside a window's progress: hidden, shown while an engine call runs (platform/EngineCall.h), and
// then the one control of the program that takes clicks; a click asks the call to stop.
#pragma once

#include <QRect>

class QObject;
class QPushButton;
class QWidget;

namespace platform {

QPushButton* makeStopButton(QWidget* parent, QRect bounds);
bool isStopButton(const QObject* object);
// Shows (or hides) every stop button of a visible window.
void showStopButtons(bool shown);

}  // namespace platform
