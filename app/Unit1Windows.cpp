// SPDX-License-Identifier: GPL-3.0-or-later
// The shell's own secondary windows, opened from the main window without blocking it.
#include "app/Forms.h"
#include "app/Unit1.h"
#include "app/Unit10.h"
#include "app/Unit9.h"
#include "users/Unit11.h"

void TForm1::Podpora1Click() { forms().Form9->showInFront(); }

void TForm1::ToolButton24Click() { Podpora1Click(); }

void TForm1::Mivex1Click() { forms().Form10->showInFront(); }

void TForm1::ToolButton25Click() { Mivex1Click(); }

void TForm1::ToolButton28Click() { forms().Form11->showInFront(); }
