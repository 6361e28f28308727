// The text that strtohex turns into a user code: login name, "#", password, in this order. The login and
// the user manager both build it here, so a user created in the manager can log in.
#pragma once

#include <string>

#include <QString>

#include "platform/EngineText.h"

namespace users {

inline std::string userCodeText(const QString& name, const QString& password) {
    return platform::engineText(name + QLatin1Char('#') + password);
}

}  // namespace users
