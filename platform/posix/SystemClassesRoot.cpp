// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop's equivalent of the classes root: the freedesktop files under $XDG_DATA_HOME.
#include "platform/FreedesktopClassesRoot.h"

namespace platform {

std::unique_ptr<ClassesRoot> systemClassesRoot() {
    return std::make_unique<FreedesktopClassesRoot>(FreedesktopClassesRoot::defaultDataHome());
}

}  // namespace platform
