// SPDX-License-Identifier: GPL-3.0-or-later
// The text that strtohex turns into a user code: login name, "#", password, in this order, as UTF-8 in NFC.
// The login and the user manager both build it here, so a user created in the manager can log in. The
// user manager takes no name with "#" (users/NewUserRules.h), so the first "#" is the joint and no two
// name and password pairs give the same text.
#pragma once

#include <QString>

#include "platform/EngineKey.h"

namespace users {

inline EngineKey userCodeText(const QString& name, const QString& password) {
    return EngineKey(name + QLatin1Char('#') + password);
}

}  // namespace users
