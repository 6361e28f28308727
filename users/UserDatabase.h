// SPDX-License-Identifier: GPL-3.0-or-later
// The user database data.adb beside the program file.
//
// Every user has two sections: a numbered one ("1", "2", …) holding "name" = the login name and
// <login name> = the user code (the name escaped where it is no plain key: users/NameKey.h), which lists
// the user for the user manager, and one named by the user code holding "user" = the login name and
// "index" = the number, which the login finds. Section "All" holds "Count", the number of users the last
// save wrote. No password is stored; the user code is computed by the caller (Roster::strtohex of name,
// "#" and password). Names are single-line texts without blanks at either end.
//
// Each operation opens the file, does its work and closes it again. A missing or unreadable file reads as
// empty. A save or a removal is written as one: when it cannot be written it throws platform::WriteError
// ("Unable to write to <full path>") and the file stays as it was.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/ProfileFile.h"

namespace users {

// One row of the user manager's grid below its header. A row with an empty name stands for no user.
struct User {
    std::string name;
    std::string code;

    bool operator==(const User&) const = default;
};

class UserDatabase {
public:
    static constexpr const char* kFileName = "data.adb";

    // The database is `directory` + "data.adb"; the directory may be given with or without its trailing '/'.
    explicit UserDatabase(const std::string& directory);
    // The database in the folder of the running program file.
    static UserDatabase besideProgram();

    const std::string& path() const { return file_.path(); }

    // The users of sections 1 to "Count" of "All", in number order; a section without a "name" is skipped.
    // Then every other user who can log in (a code section with a "user" that no listed row names), so
    // that the user manager can remove anyone: files of earlier versions may hold such users.
    std::vector<User> load() const;

    // Writes every row with a name, numbering the written users 1, 2, 3, … in row order, then "Count".
    // Each numbered section keeps only its "name" and its user's code; numbered sections above the count
    // go, and so do code sections without a "user" of no row. Code sections through which someone not in
    // the rows logs in are left alone. Throws platform::WriteError.
    void save(const std::vector<User>& rows);

    // The stored login name of the user with this code, or the empty text when there is none.
    std::string lookupLogin(const std::string& userCode) const;

    // Empties the name of rows[position], deletes that user's code section and saves the rows, which clears
    // the user's numbered section: afterwards nothing in the file names the user's code, unless another row
    // has it too. Throws platform::WriteError (from the save), std::out_of_range.
    void remove(std::vector<User>& rows, std::size_t position);

private:
    platform::ProfileFile file_;
};

}  // namespace users
