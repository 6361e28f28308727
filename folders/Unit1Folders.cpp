// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's folder operations: choosing a folder, encrypting it, decrypting a package.
#include <QLabel>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "folders/Unit5.h"
#include "folders/Unit6.h"
#include "folders/Unit7.h"
#include "platform/FileListBox.h"
#include "platform/StatusBar.h"

void TForm1::Sloku6Click() { forms().Form6->showForChoice(); }

void TForm1::soubor2Click() {
    TForm5& window = *forms().Form5;
    const QString folder = sb->panelText(0);
    window.FileListBox->setDirectory(folder);  // a folder that is gone raises "File not found"
    window.slozka->setText(folder);
    window.showForKey();
}

void TForm1::Sloku4Click() {
    TForm7& window = *forms().Form7;
    window.slozka->setText(sb->panelText(0));
    window.showForKey();
}
