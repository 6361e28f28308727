// SPDX-License-Identifier: GPL-3.0-or-later
// The folder-encryption window: the key, and the rows in which the folder library shows its progress while
// it packs the folder's files (the hidden FileListBox) into the folder package.
#pragma once

#include <string>

#include <QStringList>

#include "folders/FolderWindowParts.h"
#include "platform/ToolWindow.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace platform {
class KeptKey;
}

class TForm5 : public platform::ToolWindow {
public:
    TForm5();

    void Edit1Change();
    void Button1Click();
    void BitBtn1Click();
    // Comes to the front with the keyboard in the key field, the last key selected.
    void showForKey();
    // The window's file hash text (folders/IntHash.h); a file that cannot be read raises the run-time
    // error the standard report shows ("File not found").
    void IntHash(const std::string& fileName, std::string& hash);

    platform::Picture* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* slozka = nullptr;
    QGroupBox* gb = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* Button1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* soubor = nullptr;
    QLabel* Label7 = nullptr;
    QProgressBar* pbf = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* status = nullptr;
    QLabel* Label4 = nullptr;
    QProgressBar* pb2 = nullptr;
    QLabel* Label5 = nullptr;
    QProgressBar* pb1 = nullptr;
    QLineEdit* HashEdit = nullptr;
    QLineEdit* ErrorMsg = nullptr;
    platform::FileListBox* FileListBox = nullptr;
    QCheckBox* OneWay = nullptr;

private:
    enum class Scope { Nothing, Top, WholeTree };
    Scope askScope() const;

    platform::KeptKey* keptKey_ = nullptr;
    FolderWindowParts parts_;
};

// The success message of a folder encryption; it says how many entries of the folder (subfolders, hidden
// files, links, names with control characters) the package left out and so stayed unencrypted.
QString folderEncryptedText(int leftOut);
// The same for a package of the whole tree, naming what it left out (leftOutOfTree).
QString treeEncryptedText(const QStringList& leftOut);
