// SPDX-License-Identifier: GPL-3.0-or-later
// The about window: the product's name and version over its picture, and the maker's details.
#pragma once

#include "platform/ToolWindow.h"

class QLabel;
class QPlainTextEdit;

class TForm10 : public platform::ToolWindow {
public:
    TForm10();

    platform::Picture* Image1 = nullptr;
    QLabel* version = nullptr;  // "verze 2.0.1BETA" under the name in the picture
    QPlainTextEdit* Memo1 = nullptr;
};
