// The maker's public details, shown in the about window and used for the support forum.
#pragma once

namespace maker {

inline constexpr const char* kWebAddress = "www.mivex.example";
inline constexpr const char* kNameAndYears = "Mivex Software, 2024–2026";
inline constexpr const char* kForumAddress = "https://www.mivex.example/mivex/forum.php";

}  // namespace maker
