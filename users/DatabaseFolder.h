// Where data.adb lives. Beside the program file when the user may create files in that folder, so that a
// copy carried with its program keeps its users; otherwise (a program installed for the whole system) in the
// user's own data folder, $XDG_DATA_HOME/mivex2, or ~/.local/share/mivex2 when XDG_DATA_HOME is unset or not
// an absolute path.
#pragma once

#include <string>

namespace users {

// The folder data.adb goes in, with its trailing '/', for a program file in `programFolder`. The user's data
// folder is created (mode 0700, like any missing folder above it) when it is chosen; if that fails it is
// returned all the same, and the first write to data.adb reports "Unable to write to …".
std::string databaseFolder(const std::string& programFolder);

// `folder` with one trailing '/' (an empty one gets it too).
std::string withTrailingSlash(std::string folder);

}  // namespace users
