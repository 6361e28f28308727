// SPDX-License-Identifier: GPL-3.0-or-later
// Keyed encryption and decryption of the open file: fingerprint and file flag around the engine's
// encryption, the key check before decryption and the integrity check after it.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "app/Unit1.h"
#include "platform/EngineKey.h"
#include "fileops/FastEncryption.h"
#include "fileops/OpenFileCheck.h"
#include "fileops/OpenFileSteps.h"
#include "platform/Dialogs.h"

namespace {

using platform::Icon;
using platform::tell;

// The state text is drawn at once, before the next long engine call starts.
void showState(TForm1& window, const QString& text) {
    window.stav->setText(text);
    window.repaint();
}

QString combined(const QLineEdit& first, const QLineEdit& second, const QLineEdit& third) {
    return first.text() + second.text() + third.text();
}

}  // namespace

void TForm1::BitBtn1Click() {
    if (!openFileFits(*this, NeededFile::Plain)) return;
    // Read before any engine call: a size that is no number ends the handler with nothing done.
    const int size = sizeValue(*velikost);
    OpenFileSteps steps(*this);
    sifr->hide();
    const EngineKey key(combined(*Edit1, *Edit2, *Edit3));
    steps.prepareKey(key);  // the key derivation runs on another core while the fingerprint is taken
    steps.fingerprintInto(*buffer);
    showState(*this, QStringLiteral("Vytváření otisku souboru.."));
    const QString fingerprint = buffer->text();
    showState(*this, QStringLiteral("Přidávání příznaku.."));
    steps.addFlag(fingerprint);
    showState(*this, QStringLiteral("Šifruje se.."));
    steps.encrypt(key, wantsFastEncryption(size, key));
    showState(*this, QStringLiteral("Soubor je šifrován"));
    tell(QStringLiteral("Šifrování dokončeno"), QStringLiteral("Soubor byl úspěšně šifrován."), Icon::Information);
    pb->setValue(0);
    loadfile();
}

void TForm1::BitBtn2Click() {
    if (!openFileFits(*this, NeededFile::Encrypted)) return;
    const EngineKey key(combined(*edit4, *edit5, *edit6));
    if (key.empty()) {
        tell(QStringLiteral("Chybí klíč"),
             QStringLiteral("Nezadali jste klíč pro dešifrování souboru. Zadejte klíč a zkuste to znovu"),
             Icon::Warning);
        return;
    }
    OpenFileSteps steps(*this);
    // The check decides for fast-encrypted files too, before any pass over the file.
    if (!steps.keyFits(key)) {
        tell(QStringLiteral("Špatné heslo"), QStringLiteral("Zadali jste špatné heslo. Soubor nemůže být dešifrován."),
             Icon::Error);
        return;
    }
    showState(*this, QStringLiteral("Dešifruje se.."));
    desifr->hide();
    steps.decryptByFastMark(key);
    steps.removeFlagInto(*buffer);
    showState(*this, QStringLiteral("Odebírání příznaku.."));
    if (steps.fingerprintMatches(*buffer, *buffer0)) {
        showState(*this, QStringLiteral("Dešifrování dokončeno"));
        tell(QStringLiteral("Dešifrování dokončeno"), QStringLiteral("Soubor byl úspěšně dešifrován."),
             Icon::Information);
    } else {
        showState(*this, QStringLiteral("!!Chyba!! Soubor poškozen"));
        tell(QStringLiteral("Dešifrování dokončeno"),
             QStringLiteral("Soubor byl dešifrován, ale vyskytla se chyba. Soubor už pravděpodobně nepůjde "
                            "zrekostruovat."),
             Icon::Error);
    }
    pb->setValue(0);
    loadfile();
}
