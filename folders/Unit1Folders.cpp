// The main window's folder operations: choosing a folder, encrypting it, decrypting a package.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "folders/Unit5.h"
#include "folders/Unit6.h"
#include "folders/Unit7.h"

void TForm1::Sloku6Click() { forms().Form6->showInFront(); }

void TForm1::soubor2Click() { forms().Form5->showInFront(); }

void TForm1::Sloku4Click() { forms().Form7->showInFront(); }
