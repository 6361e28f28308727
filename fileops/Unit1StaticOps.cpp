// SPDX-License-Identifier: GPL-3.0-or-later
// Static and one-way encryption of the open file. The static key follows from the logged-in user, as the
// user manager's status bar records it; one-way encryption destroys the file's content for good.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "engine/Roster.h"
#include "engine/core/Messages.h"
#include "platform/EngineKey.h"
#include "fileops/FastEncryption.h"
#include "fileops/OpenFileSteps.h"
#include "platform/Dialogs.h"
#include "platform/EngineCall.h"
#include "users/Unit11.h"

namespace {

using platform::Icon;
using platform::tell;

// strtohex of the user code, "#" and the stored user name, written into and read back from `buffer`.
QString deriveStaticKey(TForm1& window) {
    const TForm11& manager = *forms().Form11;
    const EngineKey identity(manager.loggedInCode() + QLatin1Char('#') + manager.loggedInName());
    platform::LineEditField buffer(*window.buffer);
    platform::callEngine([&] { Roster::strtohex(identity.utf8(), buffer); });
    return window.buffer->text();
}

void finish(TForm1& window) {
    window.pb->setValue(0);
    window.loadfile();
}

}  // namespace

void TForm1::soubor3Click() {
    // Read before any engine call: a size that is no number ends the handler with nothing done.
    const int size = sizeValue(*velikost);
    const EngineKey key(deriveStaticKey(*this));
    OpenFileSteps steps(*this);
    steps.prepareKey(key);  // the key derivation runs on another core while the fingerprint is taken
    stav->setText(QStringLiteral("Šifruje se.."));
    steps.fingerprintInto(*buffer);
    steps.addFlag(buffer->text());
    // The flag travels inside the encrypted file: until the encryption replaces it, the plain file is untouched.
    steps.encrypt(key, wantsFastEncryption(size, key));
    stav->setText(QStringLiteral("Soubor byl šifrován"));
    tell(QStringLiteral("Šifrování dokončeno"), QStringLiteral("Soubor byl úspěšně šifrován."), Icon::Information);
    finish(*this);
}

void TForm1::Statickdeifrovn1Click() {
    const EngineKey key(deriveStaticKey(*this));
    OpenFileSteps steps(*this);
    // Another login's key is told before any pass over the file, as the engine itself would tell it.
    if (!steps.keyFits(key)) throw engine::Error(engine::msg::kWrongKey);
    stav->setText(QStringLiteral("Dešifruje se.."));
    steps.decryptByFastMark(key);
    steps.removeFlagInto(*buffer);
    if (steps.fingerprintMatches(*buffer, *buffer0)) {
        stav->setText(QStringLiteral("Soubor je dešifrován"));
        tell(QStringLiteral("Dešifrování dokončeno"), QStringLiteral("Soubor byl úspěšně dešifrován."),
             Icon::Information);
    } else {
        stav->setText(QStringLiteral("Soubor je dešifrován, Chyba!!"));
        tell(QStringLiteral("Dešifrování dokončeno"),
             QStringLiteral("Soubor byl dešifrován, ale vyskytla se chyba. SOubor už pravděpodobně nepůjde "
                            "zrekostruovat."),
             Icon::Error);
    }
    finish(*this);
}

void TForm1::Jednosmrnifrovn1Click() {
    if (platform::dialogs().message(QStringLiteral("Opravdu chce použít jednosměrné šifrování? Soubor už zůstane "
                                                   "nečitelný bež možnosti nápravy. Jakmile zničení začne, nelze ho vrátit "
                                                   "ani zrušit: přerušené nechá soubor zničený jen zčásti."),
                                    QStringLiteral("Upozornění"), Icon::Question,
                                    platform::Buttons::YesNoDefaultNo) != platform::Answer::Yes)
        return;
    OpenFileSteps steps(*this);
    stav->setText(QStringLiteral("Šifruje se.."));
    steps.destroy();
    stav->setText(QStringLiteral("Soubor je šifrován"));
    tell(QStringLiteral("Šifrování dokončeno"), QStringLiteral("Soubor byl úspěšně šifrován."), Icon::Information);
    finish(*this);
}
