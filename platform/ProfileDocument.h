// SPDX-License-Identifier: GPL-3.0-or-later
// The text of a private-profile (INI) file held in memory, line by line, so that an edit changes only the
// lines it must and every other byte of the file (line ends, comments, blanks, bytes that are not UTF-8)
// comes back out unchanged. ProfileFile reads and writes files through it; the rules are described there.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The text without the blanks (spaces, tabs) around it, which names and values do not count.
std::string_view trimBlanks(std::string_view text);

// Whether two section or key names match: without regard to ASCII letter case.
bool sameName(std::string_view a, std::string_view b);

class ProfileDocument {
public:
    ProfileDocument() = default;
    explicit ProfileDocument(std::string_view bytes);

    // The value of `key` in `section` (blanks around it removed), or nothing when either is missing.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // Replaces the key's value in place, or adds the key at the end of its section, or adds the section at
    // the end of the text. Returns false when the text already held exactly that value (nothing changed).
    bool setValue(std::string_view section, std::string_view key, std::string_view value);

    // Removes the key's lines from the section; the section header stays. False when there was none.
    bool removeKey(std::string_view section, std::string_view key);

    // Removes every entry of the section but the first of each key in `keep` (comments and blank lines
    // stay). False when nothing was removed.
    bool retainKeys(std::string_view section, const std::vector<std::string>& keep);

    // Removes the section, header and every line up to the next header, wherever it appears (a section
    // written twice would otherwise come back to life). False when there was none.
    bool removeSection(std::string_view section);

    // The names of the sections in the order they open, blanks removed, each name once (the first counts).
    std::vector<std::string> sectionNames() const;

    std::string bytes() const;

private:
    struct Line {
        std::string text;    // without its line end
        std::string ending;  // "\r\n", "\n", or empty for an unterminated last line
    };
    struct Range {
        std::size_t header;  // index of the header line
        std::size_t end;     // one past the section's last line
    };

    std::optional<Range> findSection(std::string_view section) const;
    std::optional<std::size_t> findKey(const Range& range, std::string_view key, std::size_t from) const;
    std::size_t lineAfterLastEntry(const Range& range) const;
    void insertLine(std::size_t at, std::string text);
    std::string_view contentOf(std::size_t index) const;  // the line without a leading byte-order mark

    std::vector<Line> lines_;
    std::string newline_ = "\n";  // the ending that new lines get: the file's own, LF for a new file
};

}  // namespace platform
