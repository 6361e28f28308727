#include "users/UserDatabase.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

namespace users {
namespace {

constexpr const char* kAllSection = "All";
constexpr const char* kCountKey = "Count";
constexpr const char* kNameKey = "name";
constexpr const char* kUserKey = "user";
constexpr const char* kIndexKey = "index";

std::string withTrailingSlash(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

// The numbers 1..count that name a section of the file, ascending: the only ones that can list a user,
// found without counting up to a "Count" that a hand-edited file may set absurdly high.
std::vector<long long> numberedSections(const platform::ProfileFile& file, long long count) {
    std::vector<long long> numbers;
    for (const std::string& name : file.sectionNames()) {
        if (name.empty() || name.size() > 18 || name.find_first_not_of("0123456789") != std::string::npos) continue;
        const long long number = std::stoll(name);
        if (number >= 1 && number <= count && std::to_string(number) == name) numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void deleteQuietly(platform::ProfileFile& file, const std::string& section, const std::string& key) {
    try {
        file.deleteKey(section, key);
    } catch (const platform::WriteError&) {
        // A deletion that cannot be written is passed over; the save that follows reports a read-only file.
    }
}

}  // namespace

std::string programDirectory() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) throw std::runtime_error("The program file cannot be found");
    const std::string file(path, static_cast<std::size_t>(length));
    return file.substr(0, file.rfind('/') + 1);
}

UserDatabase::UserDatabase(const std::string& directory) : file_(withTrailingSlash(directory) + kFileName) {}

UserDatabase UserDatabase::besideProgram() { return UserDatabase(programDirectory()); }

std::vector<User> UserDatabase::load() const {
    std::vector<User> rows;
    const long long count = file_.readInt(kAllSection, kCountKey, 0);
    for (const long long number : numberedSections(file_, count)) {
        const std::string section = std::to_string(number);
        std::string name = file_.readString(section, kNameKey);
        if (name.empty()) continue;
        std::string code = file_.readString(section, name);
        rows.push_back({std::move(name), std::move(code)});
    }
    return rows;
}

void UserDatabase::save(const std::vector<User>& rows) {
    long long counter = 0;
    for (const User& row : rows) {
        if (row.name.empty()) continue;
        const std::string number = std::to_string(counter + 1);
        file_.writeString(number, kNameKey, row.name);
        // A name the layout cannot hold as a key would be added again by every save; the grid then shows
        // no code for it, exactly what reading it back would have given.
        if (platform::ProfileFile::isStorableKey(row.name)) file_.writeString(number, row.name, row.code);
        // A row without a code (its numbered section lacked one) has no code section to write.
        if (platform::ProfileFile::isStorableSection(row.code)) {
            file_.writeString(row.code, kUserKey, row.name);
            file_.writeString(row.code, kIndexKey, number);
        }
        ++counter;
    }
    file_.writeInt(kAllSection, kCountKey, counter);
}

std::string UserDatabase::lookupLogin(const std::string& userCode) const {
    return file_.readString(userCode, kUserKey);
}

void UserDatabase::remove(std::vector<User>& rows, std::size_t position) {
    User& row = rows.at(position);
    if (!row.name.empty()) {
        const auto before = rows.begin() + static_cast<std::ptrdiff_t>(position);
        const auto number = std::count_if(rows.begin(), before, [](const User& u) { return !u.name.empty(); }) + 1;
        const std::string section = std::to_string(number);
        deleteQuietly(file_, section, kNameKey);
        deleteQuietly(file_, section, row.name);
    }
    deleteQuietly(file_, row.code, kUserKey);
    deleteQuietly(file_, row.code, kIndexKey);
    row.name.clear();
    save(rows);
}

}  // namespace users
