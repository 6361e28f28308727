// SPDX-License-Identifier: GPL-3.0-or-later
// The maker's public details, shown in the about window and used for the support forum.
#pragma once

namespace maker {

inline constexpr const char* kWebAddress = "www.mivex.example";
inline constexpr const char* kNameAndYears = "Mivex Software, 2024–2026";
// The terms the program is given under, in the about window (the full text: LICENSE).
inline constexpr const char* kLicence = "Licence GNU GPL 3 a novější";
inline constexpr const char* kForumAddress = "https://www.mivex.example/mivex/forum.php";

}  // namespace maker
