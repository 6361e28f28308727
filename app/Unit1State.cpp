// SPDX-License-Identifier: GPL-3.0-or-later
// The opened-file state: which operation groups are offered, and the three transitions that change it.
#include <QCheckBox>
#include <QLabel>
#include <QMenu>

#include "app/Unit1.h"
#include "engine/VQ203.h"
#include "platform/EngineCall.h"
#include "platform/StatusBar.h"

namespace {

void enable(std::initializer_list<QAction*> actions, bool enabled) {
    for (QAction* action : actions) action->setEnabled(enabled);
}

}  // namespace

void TForm1::setGroupEnabled(Group group, bool enabled) {
    // A menu "Soubor"/"Složku" entry follows its toolbar twin, so the menu is a working route too.
    switch (group) {
    case Group::Encryption:
        enable({ifrovnsezadnmkle1->menuAction(), Statickifrovn1->menuAction(), Jednosmrnifrovn1->menuAction(),
                ToolButton4, ToolButton5, ToolButton6, Soubor2, Soubor3, Soubor4},
               enabled);
        keyedEncryptionMenuOn_ = enabled;
        break;
    case Group::Decryption:
        enable({Deifrovnsezadnmkle1->menuAction(), Statickdeifrovn1->menuAction(), VQ1041->menuAction(),
                VQ1051->menuAction(), VQ1061->menuAction(), VQ20101->menuAction(), ToolButton8, ToolButton9,
                ToolButton13, ToolButton14, ToolButton15, ToolButton19, Soubor5, Soubor6},
               enabled);
        keyedDecryptionMenuOn_ = enabled;
        break;
    case Group::Fingerprint:
        enable({Vytvoithashsouboru1, ToolButton21}, enabled);
        break;
    case Group::FolderEncryption:
        enable({Sloku1, ToolButton11}, enabled);
        break;
    case Group::PackageDecryption:
        enable({Sloku4, ToolButton20}, enabled);
        break;
    }
    keepFolderLeavesReachable();
}

// "Složku" shares its submenu with the file entry of a file group that the folder states disable;
// the submenu stays open while its folder entry is offered.
void TForm1::keepFolderLeavesReachable() {
    ifrovnsezadnmkle1->menuAction()->setEnabled(keyedEncryptionMenuOn_ || Sloku1->isEnabled());
    Deifrovnsezadnmkle1->menuAction()->setEnabled(keyedDecryptionMenuOn_ || Sloku4->isEnabled());
}

void TForm1::soubor_open(const QString& path) {
    const std::string file = path.toStdString();
    const int kind = platform::callEngine([&] { return VQ203::desifrovatelnost(file); });
    // Both file groups follow the engine's answer, so a plain file is never offered decryption
    // (nor an encrypted one encryption), and a plain file carries no earlier file's fast mark.
    const bool encrypted = kind > 0;
    setGroupEnabled(Group::Encryption, !encrypted);
    setGroupEnabled(Group::Decryption, encrypted);
    fast->setChecked(kind == VQ203::Fast);
    setGroupEnabled(Group::Fingerprint, true);
    setGroupEnabled(Group::FolderEncryption, false);
    setGroupEnabled(Group::PackageDecryption, false);
}

void TForm1::slozka_open() {
    setGroupEnabled(Group::Encryption, false);
    setGroupEnabled(Group::Decryption, false);
    setGroupEnabled(Group::Fingerprint, false);
    setGroupEnabled(Group::FolderEncryption, true);
    setGroupEnabled(Group::PackageDecryption, true);
}

void TForm1::loadfile() {
    setGroupEnabled(Group::Decryption, false);
    setGroupEnabled(Group::Encryption, false);
    setGroupEnabled(Group::Fingerprint, false);
    setGroupEnabled(Group::FolderEncryption, false);
    setGroupEnabled(Group::PackageDecryption, false);
    sb->setPanelText(0, QString());
    velikost->setText(QStringLiteral("..."));
    stav->setText(QStringLiteral("..."));
}
