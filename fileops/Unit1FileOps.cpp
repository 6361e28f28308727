// The main window's key groups and file operations: keyed, static and one-way encryption, decryption,
// the older bases, the fingerprint and the key generator.
#include <QGroupBox>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "fileops/Unit2.h"
#include "fileops/Unit3.h"
#include "fileops/Unit4.h"

void TForm1::ifrovat1Click() {
    desifr->hide();
    sifr->show();
}

void TForm1::Deifrovat1Click() {
    desifr->show();
    sifr->hide();
}

// Static encryption of the open file.
void TForm1::soubor3Click() {}

// One-way encryption of the open file.
void TForm1::Jednosmrnifrovn1Click() {}

// Static decryption of the open file.
void TForm1::Statickdeifrovn1Click() {}

// Decryption with the older bases 1.0.4, 1.0.5, 1.0.6 and 2.0.1.0: choose the base, show the key window.
void TForm1::Deifrovat4Click() { forms().Form2->showInFront(); }

void TForm1::Deifrovat3Click() { forms().Form2->showInFront(); }

void TForm1::Deifrovat2Click() { forms().Form2->showInFront(); }

void TForm1::Deifrovatsezadnmkle1Click() { forms().Form2->showInFront(); }

// The open file's fingerprint, shown in the fingerprint window.
void TForm1::Vytvoithashsouboru1Click() {}

void TForm1::ToolButton21Click() { Vytvoithashsouboru1Click(); }

void TForm1::Generovatkl1Click() { forms().Form3->showInFront(); }
