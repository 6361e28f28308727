// SPDX-License-Identifier: GPL-3.0-or-later
// What the user manager takes as a new user's name and password. A name is refused when it holds "#"
// (name and password are joined by "#" into the user code, so the first "#" must be the joint), a line
// break or another control character, or blanks at either end (the user database keeps neither); a
// password when it holds a line break or another control character (no login field could take it typed).
#pragma once

#include <optional>

#include <QString>

namespace users {

// The Czech reason for refusing the name, or nothing when it is taken. The empty name is taken: it
// stores nobody.
std::optional<QString> nameRefusal(const QString& name);
// The Czech reason for refusing the password, or nothing when it is taken.
std::optional<QString> passwordRefusal(const QString& password);

}  // namespace users
