// SPDX-License-Identifier: GPL-3.0-or-later
// The folder-encryption window's own file hash text: a sum of logarithms over the file's bytes, rounded to
// six decimals, its digits read as a number and written in hexadecimal, least significant digit first.
// A checksum of the program's tradition, not a cryptographic fingerprint.
#pragma once

#include <string>

// Reads the file up to its end or its first byte 0x1A. Throws std::system_error (the errno of the failed
// open or read) and leaves `hash` unchanged when the file cannot be opened or read.
void IntHash(const std::string& fileName, std::string& hash);

namespace folders::detail {

// The steps after the sum: rounding, the digits of its decimal text, the reversed hexadecimal.
std::string intHashTextOf(double sum);

}  // namespace folders::detail
