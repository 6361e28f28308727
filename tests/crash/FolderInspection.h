// SPDX-License-Identifier: GPL-3.0-or-later
// What a killed operation left in its folder besides the names that belong there.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "tests/engine/FolderFakes.h"

namespace crash {

inline const std::string kPackageName = "directory.cff";

struct Leftover {
    std::string name;
    std::uint64_t size = 0;
    bool plaintext = false;  // holds a record of the test's plaintext (Content.h)
    // One of the engine's hidden temporaries (".<name>.mvxtmp-XXXXXX", already with the result's final
    // permissions): a kill between giving a finished result a name and renaming it leaves one; the next
    // operation on the folder must remove it.
    bool sweepable = false;
};

// Every entry of the folder, hidden ones included, whose name is not in `belonging`.
std::vector<Leftover> leftoversIn(const std::string& folder, const std::set<std::string>& belonging);

std::set<std::string> namesOf(const std::vector<Leftover>& leftovers);

// The folder as testutil::snapshot sees it, without the entries named in `ignored`.
testutil::FolderState snapshotWithout(const std::string& folder, const std::set<std::string>& ignored);

// Names in the folder outside `allowed`, for "the rerun left ..." messages; "" when there are none.
std::string strangersIn(const std::string& folder, const std::set<std::string>& allowed);

// What a rerun left in a one-file folder besides `file` and the kill's `leftovers`: "" or "the rerun left ...".
std::string leftByRerun(const std::string& folder, const std::string& file, const std::set<std::string>& leftovers);

// "name (6.0 MiB)" style text for messages.
std::string describe(const Leftover& leftover);

}  // namespace crash
