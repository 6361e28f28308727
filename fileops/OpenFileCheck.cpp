// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/OpenFileCheck.h"

#include <QAction>

#include "app/Unit1.h"
#include "platform/Dialogs.h"

namespace {

void tellUser(const QString& caption, const QString& text) { platform::tell(caption, text, platform::Icon::Warning); }

}  // namespace

bool openFileFits(const TForm1& window, NeededFile needed) {
    // The fingerprint is offered exactly while a file is open, whatever its state.
    if (!window.ToolButton21->isEnabled()) {
        tellUser(QStringLiteral("Není otevřen soubor"),
                 QStringLiteral("Není otevřen žádný soubor. Otevřete soubor a zkuste to znovu."));
        return false;
    }
    if (needed == NeededFile::Plain && !window.ToolButton4->isEnabled()) {
        tellUser(QStringLiteral("Soubor je šifrován"),
                 QStringLiteral("Otevřený soubor je už šifrován. Šifrovat lze jen nešifrovaný soubor."));
        return false;
    }
    if (needed == NeededFile::Encrypted && !window.ToolButton8->isEnabled()) {
        tellUser(QStringLiteral("Soubor není šifrován"),
                 QStringLiteral("Otevřený soubor není šifrován. Dešifrovat lze jen šifrovaný soubor."));
        return false;
    }
    return true;
}
