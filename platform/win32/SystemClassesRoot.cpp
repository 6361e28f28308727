// SPDX-License-Identifier: GPL-3.0-or-later
// The registry's classes: the machine's where the user may write them, else the user's own.
#include "platform/win32/WindowsClassesRoot.h"

namespace platform {

std::unique_ptr<ClassesRoot> systemClassesRoot() { return std::make_unique<WindowsClassesRoot>(); }

}  // namespace platform
