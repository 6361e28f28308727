// SPDX-License-Identifier: GPL-3.0-or-later
// The one place where engine work looks whether its caller asked it to stop (engine::CancelScope).
#pragma once

#include "engine/Ports.h"
#include "engine/core/Messages.h"

namespace engine::core {

// Call only where stopping leaves the user's files as they were: before the result replaces anything.
inline void stopIfCancelled() {
    if (CancelScope::requested()) throw Cancelled(msg::kCancelled);
}

}  // namespace engine::core
