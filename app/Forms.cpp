// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Forms.h"

Forms& forms() {
    static Forms windows;
    return windows;
}
