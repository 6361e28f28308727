// SPDX-License-Identifier: GPL-3.0-or-later
// The one rule for the names of the engine's hidden temporaries, and for the names it will not give a file.
// The sweep removes what has a temporary's shape, so that shape is made here, recognised here, and refused
// here for everything a package restores or a folder's list offers; so are names with control characters,
// which break every list and message that shows them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace engine::core {

inline constexpr std::size_t kTemporarySuffixLength = 6;
inline constexpr std::size_t kTemporaryStemLimit = 200;  // leaves the suffix room below NAME_MAX

// ".<finalName>.mvxtmp-<suffix>" (a file that will replace finalName, of which at most the first
// kTemporaryStemLimit bytes are taken) or ".mvxtmp-<suffix>" (finalName empty: a file not yet named).
std::string temporaryNameFor(std::string_view finalName, std::string_view suffix);

// kTemporarySuffixLength letters (A-Z, a-z) or digits: the same alphabet as mkostemp's "XXXXXX".
std::string randomTemporarySuffix();

// Exactly the shape temporaryNameFor gives with a suffix of letters or digits; nothing looser.
bool isTemporaryName(std::string_view name);

// The final name a temporary of that shape was made for, as far as the name keeps it (its first
// kTemporaryStemLimit bytes); empty for ".mvxtmp-<suffix>".
std::string_view finalNameOf(std::string_view temporaryName);

// A byte below 0x20 or 0x7F.
bool hasControlCharacter(std::string_view name);

// A name a file may be given from a package or taken into one: neither a temporary's shape nor control
// characters. (Whether it stays inside the folder is the package's own check.)
bool isRestorableName(std::string_view name);

// The name as a message can show it: each control character as its visible symbol (U+2400 onwards).
std::string printableName(std::string_view name);

}  // namespace engine::core
