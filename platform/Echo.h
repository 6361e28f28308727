// SPDX-License-Identifier: GPL-3.0-or-later
// How a text field shows what is typed into it: as typed, or each character as "|" (keys, passwords).
#pragma once

namespace platform {

enum class Echo { Clear, Password };

}  // namespace platform
