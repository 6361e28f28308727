// SPDX-License-Identifier: GPL-3.0-or-later
// The fingerprint window: the open file's fingerprint in a field the user can select and copy from.
#pragma once

#include "platform/ToolWindow.h"

class QLineEdit;

class TForm4 : public platform::ToolWindow {
public:
    TForm4();

    platform::Picture* Image1 = nullptr;
    QLineEdit* Edit1 = nullptr;
};
