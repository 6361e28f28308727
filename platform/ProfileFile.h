// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing a private-profile (INI) file, the layout of the user database.
//
// The file: a line "[name]" opens a section; the lines after it, "key=value", are its entries.
//
// Reading
//  - Section and key names match without regard to ASCII letter case; blanks (space, tab) around names and
//    values do not count. A section that appears twice counts only where it first appears, and so does a
//    key that appears twice in its section.
//  - Comment lines (first non-blank character ';' or '#'), blank lines and lines without "=" are no entries.
//  - A missing file, an unreadable one, a missing section or a missing key reads as the caller's default;
//    a key with nothing after "=" reads as the empty text.
//  - A value is read back up to 2047 characters (a character is a UTF-8 sequence or a single other byte).
//  - readInt takes decimal ("-12", "42") and, after "0x" or "0X", hexadecimal; any other value, or one
//    out of range, reads as 0.
//  - CRLF and LF line ends, an unterminated last line and a leading UTF-8 byte-order mark are all accepted.
//
// Writing
//  - An existing key gets its new value in place; a new key goes after the last entry of its section; a
//    new section goes to the end of the file, created when missing. A deleted key's lines go, the section
//    header stays. Numbers are written in decimal. Every other byte of the file stays as it was (line
//    ends, comments, blanks, bytes that are not UTF-8); new lines get the line end the file already uses.
//  - Each write reaches the disk before it returns: the new text goes to a temporary file beside the file,
//    is fsynced and renamed over it, and the folder is fsynced, so a crash leaves the old or the new file,
//    never a half-written one. A write that changes nothing leaves the file untouched.
//  - A write that cannot be made throws WriteError, the run-time error "Unable to write to <full path>"
//    that the standard error report shows like any other (platform/RuntimeError.h), and leaves the file
//    as it was: a read-only file (no write permission, or no write bit at all, which counts for root
//    too), a folder without write access, a full disk, or an existing file that cannot be read (rewriting
//    it would lose its content).
//  - A symbolic link is followed: the file it names is replaced, the link stays.
//  - A name or value that the layout cannot hold is refused with std::invalid_argument before anything is
//    written: see isStorableSection, isStorableKey and isStorableValue.
//
// Each call opens the file, does its work and closes it again; nothing is cached between calls. A snapshot
// reads the file once, for many reads that see one state of it; change() makes many changes in one write.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RuntimeError.h"

namespace platform {

class ProfileDocument;

// Reads of a profile file's text held in memory, by the rules above.
class ProfileReader {
public:
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue = {}) const;
    long long readInt(std::string_view section, std::string_view key, long long defaultValue = 0) const;
    // Every section of the file, in file order, each once.
    std::vector<std::string> sectionNames() const;

protected:
    explicit ProfileReader(const ProfileDocument& document) : document_(&document) {}

private:
    const ProfileDocument* document_;
};

// The file as it was when the snapshot was taken.
class ProfileSnapshot : public ProfileReader {
private:
    friend class ProfileFile;
    explicit ProfileSnapshot(std::shared_ptr<const ProfileDocument> document);

    std::shared_ptr<const ProfileDocument> document_;
};

// Changes gathered in memory and written to the file as one (ProfileFile::change); reads see them.
class ProfileEdit : public ProfileReader {
public:
    // Throws std::invalid_argument for what the layout cannot hold, as ProfileFile::writeString does.
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInt(std::string_view section, std::string_view key, long long value);
    void deleteKey(std::string_view section, std::string_view key);
    // Deletes every entry of the section but the first of each key in `keep`.
    void retainKeys(std::string_view section, const std::vector<std::string>& keep);
    // Deletes the section with its header, every time it appears.
    void deleteSection(std::string_view section);

private:
    friend class ProfileFile;
    explicit ProfileEdit(ProfileDocument& document);

    ProfileDocument& document_;
    bool changed_ = false;
};

// A failed write to a profile file: the run-time error unableToWrite(<path>), which also carries the path.
class WriteError : public RuntimeError {
public:
    explicit WriteError(const std::string& path);
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

class ProfileFile {
public:
    static constexpr std::size_t kMaxValueCharacters = 2047;

    // Relative paths are taken against the current directory once, here.
    explicit ProfileFile(const std::string& path);

    const std::string& path() const { return path_; }  // absolute

    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue = {}) const;
    long long readInt(std::string_view section, std::string_view key, long long defaultValue = 0) const;

    void writeString(std::string_view section, std::string_view key, std::string_view value);
    void writeInt(std::string_view section, std::string_view key, long long value);
    void deleteKey(std::string_view section, std::string_view key);
    // Makes `changes` to the file's text in memory and writes the result once, when they changed
    // something. Whatever `changes` throws leaves the file as it was.
    void change(const std::function<void(ProfileEdit&)>& changes);

    ProfileSnapshot snapshot() const;
    // Every section of the file, in file order, each once.
    std::vector<std::string> sectionNames() const;

    // Not empty after trimming blanks, no line break, no ']'.
    static bool isStorableSection(std::string_view name);
    // Not empty after trimming blanks, no line break, no '=', not starting with '[', ';' or '#'.
    static bool isStorableKey(std::string_view name);
    // No line break. (Blanks around a value are stored but do not read back.)
    static bool isStorableValue(std::string_view value);

private:
    std::string path_;
};

}  // namespace platform
