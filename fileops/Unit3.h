// SPDX-License-Identifier: GPL-3.0-or-later
// The key generation window: keys of a chosen bit size, collected in `code` for the user to copy from.
#pragma once

#include "platform/ToolWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class TForm3 : public platform::ToolWindow {
public:
    TForm3();

    // Generates one key of the size in ComboBox1 and shows it as the newest item of `code`.
    void BitBtn1Click();

    platform::Picture* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLineEdit* Edit1 = nullptr;  // hidden: the library writes the key here
    QComboBox* code = nullptr;  // the keys made so far; the chosen one can be selected and copied
};
