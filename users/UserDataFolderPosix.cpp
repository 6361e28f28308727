// SPDX-License-Identifier: GPL-3.0-or-later
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <stdexcept>

#include "users/DatabaseFolder.h"
#include "users/UserDataFolder.h"

namespace users {

std::string programDirectory() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) throw std::runtime_error("The program file cannot be found");
    const std::string file(path, static_cast<std::size_t>(length));
    return file.substr(0, file.rfind('/') + 1);
}

namespace {

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

// $XDG_DATA_HOME, or ~/.local/share when it is unset or not an absolute path, as the XDG rules say.
std::string userDataHome() {
    if (const char* configured = std::getenv("XDG_DATA_HOME"); configured && configured[0] == '/')
        return withTrailingSlash(configured);
    return withTrailingSlash(homeFolder()) + ".local/share/";
}

// mkdir -p with mode 0700 for every folder it creates, as the XDG base directories ask.
void createPrivately(const std::string& folder) {
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
        ::mkdir(folder.substr(0, slash).c_str(), 0700);
}

}  // namespace

std::string userDataFolder() {
    const std::string folder = userDataHome() + "mivex2/";
    createPrivately(folder);
    return folder;
}

}  // namespace users
