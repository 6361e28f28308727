// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/GuardedApplication.h"

#include "platform/ErrorReport.h"

namespace platform {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    bool handled = false;
    guard([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}

}  // namespace platform
