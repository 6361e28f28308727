// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/GuardedApplication.h"

#include "platform/EngineCall.h"
#include "platform/ErrorReport.h"

namespace platform {

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    static int depth = 0;  // events delivered while one is being handled: those of its local event loops
    if (depth == 0) forgetEngineStopRequest();
    ++depth;
    bool handled = false;
    guard([&] { handled = QApplication::notify(receiver, event); });
    --depth;
    return handled;
}

}  // namespace platform
