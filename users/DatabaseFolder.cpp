// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/DatabaseFolder.h"

#include <filesystem>

#include "platform/Installation.h"
#include "users/UserDataFolder.h"

namespace users {
namespace {

namespace fs = std::filesystem;

// Where a distribution or an administrator installs programs; a copy placed there by hand is installed too.
bool isSystemProgramFolder(const fs::path& folder) {
    for (const char* system : {"/bin", "/sbin", "/usr/bin", "/usr/sbin", "/usr/local/bin", "/usr/local/sbin"})
        if (folder == system) return true;
    return false;
}

}  // namespace

std::string withTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

bool isInstalledProgramFolder(const std::string& programFolder) {
    if (programFolder.empty()) return false;
    std::error_code error;
    // The folder is UTF-8; a narrow path on Windows would be read in the system's code page, and a program
    // folder under a user's name with accents would not be found (or not even be a path).
    const fs::path folder = fs::weakly_canonical(std::u8string(programFolder.begin(), programFolder.end()), error);
    if (error) return false;
    if (isSystemProgramFolder(folder)) return true;
    return fs::is_directory(folder / platform::installation::kDataFolderFromProgram, error);
}

std::string databaseFolder(const std::string& programFolder) {
    return isInstalledProgramFolder(programFolder) ? userDataFolder() : withTrailingSlash(programFolder);
}

}  // namespace users
