// The folder-selection window: a drive list and a directory list; OK takes the directory list's current
// folder (the one opened, not one merely highlighted) as the folder to encrypt.
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

    platform::Picture* Image1 = nullptr;
    DriveComboBox* DriveComboBox1 = nullptr;
    DirectoryListBox* DirectoryListBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
};
