// SPDX-License-Identifier: GPL-3.0-or-later
// The folder-decryption window: the key, and the rows in which the folder library shows its progress while
// it restores the folder from the package.
#pragma once

#include "folders/FolderWindowParts.h"
#include "platform/ToolWindow.h"

class QGroupBox;
class QPushButton;

namespace platform {
class KeptKey;
}

class TForm7 : public platform::ToolWindow {
public:
    TForm7();

    void ecodeChange();
    void BitBtn1Click();
    // Comes to the front with the keyboard in the key field, the last key selected.
    void showForKey();

    platform::Picture* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* slozka = nullptr;
    QGroupBox* gb = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* ecode = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* soubor = nullptr;
    QLabel* Label6 = nullptr;
    QProgressBar* pbf = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* status = nullptr;
    QLabel* Label4 = nullptr;
    QProgressBar* pb1 = nullptr;
    QLabel* Label5 = nullptr;
    QProgressBar* pb2 = nullptr;
    QLineEdit* ErrorMsg = nullptr;
    QLineEdit* HashEdit = nullptr;
    platform::FileListBox* FileListBox = nullptr;

private:
    platform::KeptKey* keptKey_ = nullptr;
    FolderWindowParts parts_;
};
