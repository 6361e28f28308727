// The main window's key groups and file operations: keyed, static and one-way encryption, decryption,
// the older bases, the fingerprint and the key generator.
#include <QGroupBox>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "fileops/Unit2.h"
#include "fileops/Unit3.h"
#include "fileops/Unit4.h"

// Static encryption of the open file.
void TForm1::soubor3Click() {}

// One-way encryption of the open file.
void TForm1::Jednosmrnifrovn1Click() {}

// Static decryption of the open file.
void TForm1::Statickdeifrovn1Click() {}
