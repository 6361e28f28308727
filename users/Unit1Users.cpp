// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's part of the users: the login gate that runs when the window is shown, and the rule
// that a disabled (logged-out) main window cannot be closed, so that closing the login window is the way out.
#include <QCloseEvent>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "platform/WindowEnabling.h"
#include "users/Unit11.h"
#include "users/Unit12.h"

void TForm1::FormShow() {
    forms().Form11->loadGrid();
    platform::setWindowEnabled(*this, false);
    forms().Form12->showForLogin();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (isEnabled())
        event->accept();
    else
        event->ignore();
}
