// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program lies and the user's own data folder for the program, one sibling per system:
// $XDG_DATA_HOME/mivex2/ here (UserDataFolderPosix.cpp), %APPDATA%\Mivex2\ on Windows.
#pragma once

#include <string>

namespace users {

// The folder of the running program file, with its trailing '/'.
std::string programDirectory();

// The folder with its trailing separator, created (private to the user, like any missing folder above it)
// if it is missing. Returned all the same when it cannot be created.
std::string userDataFolder();

}  // namespace users
