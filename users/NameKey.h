// SPDX-License-Identifier: GPL-3.0-or-later
// The key under which a user's numbered section holds the user code: the login name itself, unless the
// layout cannot hold it as a key or it would be mistaken for another one.
#pragma once

#include <string>
#include <string_view>

namespace users {

// The key of the login name in a user's numbered section.
inline constexpr std::string_view kNameKey = "name";

// The name itself when it is a plain key. A name that contains "=", starts with "[", ";", "#" or "%",
// has blanks at either end or is "name" in any letter case gets "%" followed by the name, each of its
// bytes "%", "=", "[", "]", ";", "#", DEL and those up to the blank written as "%" and two uppercase
// hexadecimal digits: "a=b" → "%a%3Db", "Name" → "%Name". Distinct names give distinct keys, and every
// name a file of an earlier version could hold as a key (all but "%…" and "name") keeps it.
std::string nameKey(std::string_view name);

}  // namespace users
