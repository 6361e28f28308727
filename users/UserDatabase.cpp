// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/UserDatabase.h"

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "platform/ProfileDocument.h"
#include "users/DatabaseFolder.h"
#include "users/NameKey.h"
#include "users/UserDataFolder.h"

namespace users {
namespace {

constexpr const char* kAllSection = "All";
constexpr const char* kCountKey = "Count";
constexpr const char* kUserKey = "user";
constexpr const char* kIndexKey = "index";

bool isDecimal(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The numbers that name a section of the file in canonical decimal ("7", not "07"), ascending: found
// without counting up to a "Count" that a hand-edited file may set absurdly high.
std::vector<long long> numberedSections(const std::vector<std::string>& sections) {
    std::vector<long long> numbers;
    for (const std::string& name : sections) {
        if (name.size() > 18 || !isDecimal(name)) continue;
        const long long number = std::stoll(name);
        if (number >= 1 && std::to_string(number) == name) numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// A user code is hexadecimal; one of 64 digits is all decimal with a chance of 10^-13, and numbered
// sections must not pass for one (a user called "user" puts that key into the numbered section).
bool looksLikeUserCode(std::string_view section) {
    return !section.empty() && section.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos &&
           !isDecimal(section);
}

// A section through which somebody logs in: named by a user code, with a non-empty "user".
struct CodeSection {
    std::string code;
    std::string user;
    std::string index;
};

std::vector<CodeSection> codeSections(const platform::ProfileReader& file, const std::vector<std::string>& sections) {
    std::vector<CodeSection> found;
    for (const std::string& section : sections) {
        if (!looksLikeUserCode(section)) continue;
        std::string user = file.readString(section, kUserKey);
        if (!user.empty()) found.push_back({section, std::move(user), file.readString(section, kIndexKey)});
    }
    return found;
}

// The user of numbered section `number` whose code that section lacks. Earlier versions wrote no code
// for a name that is no plain key, and for the name "name" the code replaced the name; the code section
// still points back at the number, with the name as its "user" (or as its own name).
const CodeSection* pointingBack(const std::vector<CodeSection>& codes, long long number, const std::string& listed) {
    const std::string index = std::to_string(number);
    for (const CodeSection& section : codes)
        if (section.index == index && (section.user == listed || platform::sameName(section.code, listed)))
            return &section;
    return nullptr;
}

// Writes every row with a name under the numbers 1, 2, 3, …, then "Count", and takes out what earlier
// saves and removals left behind.
void writeRows(platform::ProfileEdit& file, const std::vector<User>& rows) {
    long long counter = 0;
    for (const User& row : rows) {
        if (row.name.empty()) continue;
        const std::string number = std::to_string(++counter);
        const std::string codeKey = nameKey(row.name);
        file.writeString(number, kNameKey, row.name);
        file.writeString(number, codeKey, row.code);
        // The section's earlier users, numbered here before a removal, leave with their keys.
        file.retainKeys(number, {std::string(kNameKey), codeKey});
        // A row without a code (its numbered section lacked one) has no code section to write.
        if (platform::ProfileFile::isStorableSection(row.code)) {
            file.writeString(row.code, kUserKey, row.name);
            file.writeString(row.code, kIndexKey, number);
        }
    }
    file.writeInt(kAllSection, kCountKey, counter);

    const std::vector<std::string> sections = file.sectionNames();
    // Numbers above the count list nobody any more.
    for (const long long number : numberedSections(sections))
        if (number > counter) file.deleteSection(std::to_string(number));
    // A code section through which nobody logs in, of no listed user: the header an earlier removal left.
    for (const std::string& section : sections) {
        const auto listed = [&](const User& row) {
            return !row.name.empty() && platform::sameName(row.code, section);
        };
        if (looksLikeUserCode(section) && file.readString(section, kUserKey).empty() &&
            std::none_of(rows.begin(), rows.end(), listed))
            file.deleteSection(section);
    }
}

}  // namespace

UserDatabase::UserDatabase(const std::string& directory) : file_(withTrailingSlash(directory) + kFileName) {}

UserDatabase UserDatabase::besideProgram() { return UserDatabase(programDirectory()); }

std::vector<User> UserDatabase::load() const {
    const platform::ProfileSnapshot file = file_.snapshot();
    const std::vector<std::string> sections = file.sectionNames();
    const std::vector<CodeSection> codes = codeSections(file, sections);
    std::vector<User> rows;
    const long long count = file.readInt(kAllSection, kCountKey, 0);
    for (const long long number : numberedSections(sections)) {
        if (number > count) break;
        const std::string section = std::to_string(number);
        std::string name = file.readString(section, kNameKey);
        if (name.empty()) continue;
        std::string code = file.readString(section, nameKey(name));
        const CodeSection* linked = code.empty() ? pointingBack(codes, number, name) : nullptr;
        if (linked)
            rows.push_back({linked->user, linked->code});
        else
            rows.push_back({std::move(name), std::move(code)});
    }
    // Whoever can log in is listed, and so can be removed: also a user whose numbered section is gone.
    for (const CodeSection& section : codes) {
        const auto listed = [&](const User& row) { return platform::sameName(row.code, section.code); };
        if (std::none_of(rows.begin(), rows.end(), listed)) rows.push_back({section.user, section.code});
    }
    return rows;
}

void UserDatabase::save(const std::vector<User>& rows) {
    file_.change([&](platform::ProfileEdit& file) { writeRows(file, rows); });
}

std::string UserDatabase::lookupLogin(const std::string& userCode) const {
    return file_.readString(userCode, kUserKey);
}

void UserDatabase::remove(std::vector<User>& rows, std::size_t position) {
    User& row = rows.at(position);
    row.name.clear();
    const std::string code = row.code;
    file_.change([&](platform::ProfileEdit& file) {
        // The code section is what lets the user log in; it goes whole. Renumbering the others clears the
        // user's numbered section.
        if (platform::ProfileFile::isStorableSection(code)) file.deleteSection(code);
        writeRows(file, rows);
    });
}

}  // namespace users
