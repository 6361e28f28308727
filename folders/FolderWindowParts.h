// SPDX-License-Identifier: GPL-3.0-or-later
// What the folder-encryption and folder-decryption windows share: the rows the folder library reports its
// progress in, the hidden fields and file list it is handed, and the call itself.
#pragma once

#include <string>

#include <QString>

#include "engine/Ports.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace platform {
class FileListBox;
}

struct FolderWindowParts {
    QLabel* Label2 = nullptr;         // "Soubor :"
    QLabel* soubor = nullptr;
    QLabel* barCaption = nullptr;     // "Stav šifrování souboru :" / "Stav dešifrování souboru :"
    QProgressBar* pbf = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* statusCaption = nullptr;  // "Status  :"
    QLabel* status = nullptr;
    QLabel* Label4 = nullptr;         // "Balíček složky :"
    QProgressBar* pb1 = nullptr;
    QLabel* Label5 = nullptr;         // "<<"
    QProgressBar* pb2 = nullptr;
    QLineEdit* HashEdit = nullptr;
    QLineEdit* ErrorMsg = nullptr;
    platform::FileListBox* FileListBox = nullptr;
};

struct FolderWindowLayout {
    const char* barCaptionName;
    QString barCaptionText;
    const char* statusCaptionName;
    bool pb1OnTheLeft;  // the decryption window; the encryption window has pb2 on the left
};

FolderWindowParts buildFolderWindowParts(QWidget& window, const FolderWindowLayout& layout);

// The key row: group box `gb` with the caption label `Label3` and the OK button `BitBtn1` (disabled, the
// window's default button: Enter anywhere in the window presses it while it is enabled). The key field
// itself differs between the windows and is added by each, which makes it Label3's buddy.
struct KeyGroup {
    QGroupBox* gb = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
};
KeyGroup buildKeyGroup(QWidget& window, const QString& caption, const QString& keyCaption,
                       const QString& okDescription);

// A label in the windows' look (over the background picture), named and placed; `buddy` is what it names.
QLabel* folderWindowLabel(QWidget& parent, const char* name, const QString& text, int x, int y, int width,
                          QWidget* buddy = nullptr);

// sifrdir or desifrdir with the window's own elements, in the library's argument order, through
// platform::callEngine; `wholeTree` hands the engine the whole tree below the list's folder.
using FolderExport = void (*)(const std::string&, engine::TextField&, engine::FileList&, engine::TextField&,
                              engine::ProgressBar&, engine::ProgressBar&, engine::ProgressBar&, engine::Label&,
                              engine::Label&, engine::Window&, const std::string&);
void callFolderLibrary(FolderExport call, const QString& packagePath, QWidget& window,
                       const FolderWindowParts& parts, const QString& key, bool wholeTree = false);
