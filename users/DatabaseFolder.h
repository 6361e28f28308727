// SPDX-License-Identifier: GPL-3.0-or-later
// Where data.adb lives. The rule is written once, here, for every system: a program installed under a prefix
// keeps it in the user's own data folder (users/UserDataFolder.h), whoever runs it, root included; a copy
// carried with its program (a build folder, a folder on a stick) beside the program file, so that it keeps
// its users. Installed or carried is read from the layout of the program's folder, never from whether the
// folder may be written: root may write /usr/bin, and a data.adb there is a file no package owns.
#pragma once

#include <string>

namespace users {

// The folder data.adb goes in, with its trailing '/', for a program file in `programFolder`. A user data
// folder is created when it is chosen (users/UserDataFolder.h); beside a carried program nothing is created,
// and where that folder cannot be written the first write to data.adb reports "Unable to write to …".
std::string databaseFolder(const std::string& programFolder);

// Whether a program file in `programFolder` was installed: its folder is one of the system's program
// folders, or an install's data folder (<prefix>/share/mivex2 for <prefix>/bin) stands beside it.
bool isInstalledProgramFolder(const std::string& programFolder);

// `folder` with one trailing '/' (an empty one gets it too).
std::string withTrailingSlash(std::string folder);

}  // namespace users
