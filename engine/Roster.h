// SPDX-License-Identifier: GPL-3.0-or-later
// User codes: a one-way hexadecimal code of a text.
#pragma once

#include <string>

#include "engine/Ports.h"

namespace Roster {

// Lowercase hexadecimal of a memory-hard KDF over the text; deterministic.
void strtohex(const std::string& text, engine::TextField& field);

}  // namespace Roster
