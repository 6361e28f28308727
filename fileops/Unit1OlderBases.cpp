// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing an older engine base for decryption: the base is remembered in `baze` and the key window shown.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "fileops/ShowOverMain.h"
#include "fileops/Unit2.h"

namespace {

// The caption is set after the window is shown, so it briefly shows the previous one.
void chooseBase(TForm1& window, int base) {
    window.baze = base;
    TForm2& keyWindow = *forms().Form2;
    showOverMain(keyWindow, window);
    keyWindow.setWindowTitle(QStringLiteral("Klíč pro dešifrování VQ%1").arg(window.baze));
}

}  // namespace

void TForm1::Deifrovat4Click() { chooseBase(*this, 104); }

void TForm1::Deifrovat3Click() { chooseBase(*this, 105); }

void TForm1::Deifrovat2Click() { chooseBase(*this, 106); }

void TForm1::Deifrovatsezadnmkle1Click() { chooseBase(*this, 201); }
