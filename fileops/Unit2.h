// SPDX-License-Identifier: GPL-3.0-or-later
// The older-base key window: the key for decrypting the open file with the base chosen in the main
// window's `baze`.
#pragma once

#include "platform/ToolWindow.h"

class QLineEdit;
class QPushButton;

class TForm2 : public platform::ToolWindow {
public:
    TForm2();

    // Hands the open file and the key to the chosen base, then clears the key and hides the window.
    void BitBtn1Click();

    platform::Picture* Image1 = nullptr;
    QLineEdit* MaskEdit1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
};
