// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/FastEncryption.h"

#include <QLabel>

#include "platform/EngineKey.h"
#include "platform/Dialogs.h"
#include "platform/RuntimeError.h"

int sizeValue(const QLabel& velikost) { return platform::strToInt(velikost.text()); }

bool wantsFastEncryption(int size, const EngineKey& key) {
    if (static_cast<qint64>(size) <= static_cast<qint64>(key.length()) + 256) return false;
    return platform::dialogs().message(QStringLiteral("Na soubor je možné použít rychlé šifrování. Chce jej použít?"),
                                       QStringLiteral("Otázka"), platform::Icon::Question,
                                       platform::Buttons::YesNo) == platform::Answer::Yes;
}
