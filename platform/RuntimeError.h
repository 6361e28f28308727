// SPDX-License-Identifier: GPL-3.0-or-later
// The run-time errors of the program's own file access, number conversion and database writes.
// Their texts are made here and nowhere else, so every window reports them alike.
#pragma once

#include <cstdint>
#include <stdexcept>

#include <QString>

namespace platform {

// A failure that abandons the rest of the handler and is shown by the standard error report.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const QString& text);
};

// "File not found", "File access denied", "Too many open files" or "I/O error <n>" for an errno value.
RuntimeError fileError(int error);
// "'<text>' is not a valid integer value"
RuntimeError invalidInteger(const QString& text);
// "Unable to write to <path>"
RuntimeError unableToWrite(const QString& path);

// Opens the file for reading, takes its length and closes it again; throws fileError.
std::uint64_t fileLength(const QString& path);

// A decimal integer with an optional sign and leading blanks, as a label holds it; throws invalidInteger.
int strToInt(const QString& text);

}  // namespace platform
