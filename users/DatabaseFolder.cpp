#include "users/DatabaseFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace users {
namespace {

bool canCreateFilesIn(const std::string& folder) {
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

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

std::string withTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string databaseFolder(const std::string& programFolder) {
    if (canCreateFilesIn(programFolder)) return withTrailingSlash(programFolder);
    const std::string folder = userDataHome() + "mivex2/";
    createPrivately(folder);
    return folder;
}

}  // namespace users
