// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: the opened file, folder or package, its path, size and state, and the menu and
// toolbar that offer exactly the operations that fit it. The state lives in the controls themselves.
//
// Handlers are defined beside the subsystem they belong to: opening and the shell's own windows in app/,
// key entry and file operations in fileops/Unit1*.cpp, folders in folders/Unit1Folders.cpp,
// the login gate and the user manager in users/Unit1Users.cpp.
#pragma once

#include <QMainWindow>

#include "app/Launch.h"
#include "platform/OpenDialog.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolBar;

namespace platform {
class KeptKey;
class Picture;
class StatusBar;
}  // namespace platform

class TForm1 : public QMainWindow {
public:
    // Lays the window out and runs FormCreate.
    explicit TForm1(const LaunchContext& launch);
    ~TForm1() override;

    // The sets of menu entries and toolbar buttons that the state rules switch together.
    enum class Group { Encryption, Decryption, Fingerprint, FolderEncryption, PackageDecryption };
    void setGroupEnabled(Group group, bool enabled);

    // State transitions.
    void soubor_open(const QString& path);
    void slozka_open();
    void loadfile();

    // The opened file's size in whole 128-byte blocks; throws platform::RuntimeError when it cannot be read.
    static QString sizeInBlocks(const QString& path);

    // Handlers (menu entry / toolbar button twins share one).
    void FormCreate();
    void FormShow();                    // users/Unit1Users.cpp
    void Otevt1Click();
    void OpenDialog1CanClose();
    void Souborifrovansloky1Click();
    void OpenDialog2CanClose();
    void Podpora1Click();
    void ToolButton24Click();
    void Mivex1Click();
    void ToolButton25Click();
    void ToolButton28Click();           // menu entry Manaeruivatel1 too
    void Sloku6Click();                 // folders/Unit1Folders.cpp
    void soubor2Click();                // folders/Unit1Folders.cpp
    void Sloku4Click();                 // folders/Unit1Folders.cpp
    void ifrovat1Click();               // fileops/Unit1KeyGroups.cpp
    void Deifrovat1Click();             // fileops/Unit1KeyGroups.cpp
    void Edit1Change();                 // fileops/Unit1KeyGroups.cpp
    void Edit2Change();                 // fileops/Unit1KeyGroups.cpp
    void edit4Change();                 // fileops/Unit1KeyGroups.cpp
    void edit5Change();                 // fileops/Unit1KeyGroups.cpp
    void Button1Click();                // fileops/Unit1KeyGroups.cpp
    void Button2Click();                // fileops/Unit1KeyGroups.cpp
    void Button3Click();                // fileops/Unit1KeyGroups.cpp
    void BitBtn1Click();                // fileops/Unit1KeyedOps.cpp
    void BitBtn2Click();                // fileops/Unit1KeyedOps.cpp
    void soubor3Click();                // fileops/Unit1StaticOps.cpp
    void Jednosmrnifrovn1Click();       // fileops/Unit1StaticOps.cpp
    void Statickdeifrovn1Click();       // fileops/Unit1StaticOps.cpp
    void Deifrovat4Click();             // fileops/Unit1OlderBases.cpp
    void Deifrovat3Click();             // fileops/Unit1OlderBases.cpp
    void Deifrovat2Click();             // fileops/Unit1OlderBases.cpp
    void Deifrovatsezadnmkle1Click();   // fileops/Unit1OlderBases.cpp
    void Vytvoithashsouboru1Click();    // fileops/Unit1Fingerprint.cpp
    void ToolButton21Click();           // fileops/Unit1Fingerprint.cpp
    void Generovatkl1Click();           // fileops/Unit1KeyGroups.cpp

    // Controls, named as the other windows and the tests know them.
    QWidget* client = nullptr;          // the client area, 540 x 272, below the menu
    platform::Picture* Image1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* velikost = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* stav = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* user = nullptr;
    QGroupBox* sifr = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QGroupBox* desifr = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* edit4 = nullptr;
    QLineEdit* edit5 = nullptr;
    QLineEdit* edit6 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QLineEdit* buffer = nullptr;
    QLineEdit* buffer0 = nullptr;
    QCheckBox* fast = nullptr;
    QProgressBar* pb = nullptr;
    platform::StatusBar* sb = nullptr;
    platform::OpenDialog OpenDialog1;
    platform::OpenDialog OpenDialog2;

    // The older base chosen for decryption: 104, 105, 106 or 201; 0 until one is chosen.
    int baze = 0;

    // Main menu: submenus, and the entries that run handlers.
    QMenu* Soubor1 = nullptr;
    QAction* Otevt1 = nullptr;
    QAction* Sloku6 = nullptr;
    QAction* Souborifrovansloky1 = nullptr;
    QMenu* Uivatel1 = nullptr;
    QAction* Manaeruivatel1 = nullptr;
    QMenu* ifrovn1 = nullptr;
    QMenu* ifrovat1 = nullptr;
    QMenu* ifrovnsezadnmkle1 = nullptr;
    QAction* Soubor2 = nullptr;
    QAction* Sloku1 = nullptr;
    QMenu* Statickifrovn1 = nullptr;
    QAction* Soubor3 = nullptr;
    QMenu* Jednosmrnifrovn1 = nullptr;
    QAction* Soubor4 = nullptr;
    QMenu* Deifrovat1 = nullptr;
    QMenu* Deifrovnsezadnmkle1 = nullptr;
    QAction* Soubor5 = nullptr;
    QAction* Sloku4 = nullptr;
    QMenu* Statickdeifrovn1 = nullptr;
    QAction* Soubor6 = nullptr;
    QMenu* Hash1 = nullptr;
    QAction* Vytvoithashsouboru1 = nullptr;
    QMenu* VQ1x1 = nullptr;
    QMenu* VQ1041 = nullptr;
    QAction* Deifrovat4 = nullptr;
    QMenu* VQ1051 = nullptr;
    QAction* Deifrovat3 = nullptr;
    QMenu* VQ1061 = nullptr;
    QAction* Deifrovat2 = nullptr;
    QMenu* VQ20101 = nullptr;
    QAction* Deifrovatsezadnmkle1 = nullptr;
    QMenu* Genertor1 = nullptr;
    QAction* Generovatkl1 = nullptr;
    QMenu* Mivex1 = nullptr;
    QAction* Oaplikaci1 = nullptr;
    QMenu* Podpora1 = nullptr;
    QAction* Mivexforum1 = nullptr;
    QAction* Zkontrolovatnovverze1 = nullptr;

    // Toolbar buttons.
    QAction* ToolButton2 = nullptr;
    QAction* ToolButton18 = nullptr;
    QAction* ToolButton23 = nullptr;
    QAction* ToolButton28 = nullptr;
    QAction* ToolButton4 = nullptr;
    QAction* ToolButton5 = nullptr;
    QAction* ToolButton6 = nullptr;
    QAction* ToolButton8 = nullptr;
    QAction* ToolButton9 = nullptr;
    QAction* ToolButton11 = nullptr;
    QAction* ToolButton20 = nullptr;
    QAction* ToolButton13 = nullptr;
    QAction* ToolButton14 = nullptr;
    QAction* ToolButton15 = nullptr;
    QAction* ToolButton19 = nullptr;
    QAction* ToolButton21 = nullptr;
    QAction* ToolButton17 = nullptr;
    QAction* ToolButton24 = nullptr;
    QAction* ToolButton25 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;  // users/Unit1Users.cpp

private:
    void buildClientArea();
    void buildKeyGroups();
    void connectKeyGroups();            // fileops/Unit1KeyGroups.cpp
    void buildMenu();
    void buildToolBar();
    void addStatusPanels();
    void openCommandLineArgument();
    void openFile(const QString& path);
    void openPackage(const QString& path);
    void keepFolderLeavesReachable();

    LaunchContext launch_;
    // The key each group keeps from its last operation, selected when the group is offered again.
    platform::KeptKey* encryptionKey_ = nullptr;
    platform::KeptKey* decryptionKey_ = nullptr;
    // Whether the state rules last left the two submenus shared with a folder entry enabled.
    bool keyedEncryptionMenuOn_ = true;
    bool keyedDecryptionMenuOn_ = true;
};
