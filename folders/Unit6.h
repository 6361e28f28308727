// SPDX-License-Identifier: GPL-3.0-or-later
// The folder-selection window: a drive list and a directory list; OK takes the folder highlighted in the
// directory list (which starts on the opened one) as the folder to encrypt, and the window shows which that is.
#pragma once

#include "platform/ToolWindow.h"

class DirectoryListBox;
class DriveComboBox;
class QLabel;
class QPushButton;

class TForm6 : public platform::ToolWindow {
public:
    TForm6();

    void DriveComboBox1Change();
    void Button1Click();
    // Comes to the front with the keyboard in the folder list: the arrow keys move through the folders, not
    // switch drives at once.
    void showForChoice();

    platform::Picture* Image1 = nullptr;
    DriveComboBox* DriveComboBox1 = nullptr;
    DirectoryListBox* DirectoryListBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* chosenFolder = nullptr;  // the folder OK would take
    QPushButton* Button1 = nullptr;

private:
    void showChosenFolder();
};
