// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileDocument.h"

#include <algorithm>

namespace platform {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isComment(std::string_view line) {
    const std::string_view content = trimBlanks(line);
    return !content.empty() && (content.front() == ';' || content.front() == '#');
}

bool isBlankLine(std::string_view line) { return trimBlanks(line).empty(); }

// "[name]" with anything after the bracket ignored.
std::optional<std::string_view> headerName(std::string_view line) {
    const std::string_view content = trimBlanks(line);
    if (content.empty() || content.front() != '[') return std::nullopt;
    const auto close = content.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trimBlanks(content.substr(1, close - 1));
}

// The key of an entry line "key=value"; comments, headers and lines without "=" have none.
std::optional<std::string_view> keyName(std::string_view line) {
    if (isComment(line) || headerName(line)) return std::nullopt;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return trimBlanks(line.substr(0, equals));
}

// Where the value of an entry line starts: after "=" and the blanks that follow it.
std::size_t valueStart(std::string_view line) {
    std::size_t at = line.find('=') + 1;
    while (at < line.size() && isBlank(line[at])) ++at;
    return at;
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

ProfileDocument::ProfileDocument(std::string_view bytes) {
    bool endingKnown = false;
    while (!bytes.empty()) {
        const auto newline = bytes.find('\n');
        Line line;
        if (newline == std::string_view::npos) {
            line.text = std::string(bytes);
            bytes = {};
        } else {
            std::string_view text = bytes.substr(0, newline);
            line.ending = "\n";
            if (!text.empty() && text.back() == '\r') {
                text.remove_suffix(1);
                line.ending = "\r\n";
            }
            line.text = std::string(text);
            bytes.remove_prefix(newline + 1);
            if (!endingKnown) {
                newline_ = line.ending;
                endingKnown = true;
            }
        }
        lines_.push_back(std::move(line));
    }
}

std::string_view ProfileDocument::contentOf(std::size_t index) const {
    std::string_view text = lines_[index].text;
    if (index == 0 && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    return text;
}

std::optional<ProfileDocument::Range> ProfileDocument::findSection(std::string_view section) const {
    const std::string_view wanted = trimBlanks(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = headerName(contentOf(i));
        if (!name || !sameName(*name, wanted)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !headerName(contentOf(end))) ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> ProfileDocument::findKey(const Range& range, std::string_view key,
                                                    std::size_t from) const {
    const std::string_view wanted = trimBlanks(key);
    for (std::size_t i = std::max(from, range.header + 1); i < range.end; ++i) {
        const auto name = keyName(contentOf(i));
        if (name && sameName(*name, wanted)) return i;
    }
    return std::nullopt;
}

std::size_t ProfileDocument::lineAfterLastEntry(const Range& range) const {
    std::size_t after = range.header + 1;
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        if (!isBlankLine(lines_[i].text) && !isComment(lines_[i].text)) after = i + 1;
    }
    return after;
}

void ProfileDocument::insertLine(std::size_t at, std::string text) {
    if (at > 0 && lines_[at - 1].ending.empty()) lines_[at - 1].ending = newline_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), newline_});
}

std::optional<std::string> ProfileDocument::value(std::string_view section, std::string_view key) const {
    const auto range = findSection(section);
    if (!range) return std::nullopt;
    const auto line = findKey(*range, key, 0);
    if (!line) return std::nullopt;
    const std::string_view text = lines_[*line].text;
    return std::string(trimBlanks(text.substr(text.find('=') + 1)));
}

bool ProfileDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    const std::string entry = std::string(trimBlanks(key)) + "=" + std::string(value);
    const auto range = findSection(section);
    if (!range) {
        insertLine(lines_.size(), "[" + std::string(trimBlanks(section)) + "]");
        insertLine(lines_.size(), entry);
        return true;
    }
    if (const auto line = findKey(*range, key, 0)) {
        std::string& text = lines_[*line].text;
        std::string replaced = text.substr(0, valueStart(text)) + std::string(value);
        if (replaced == text) return false;
        text = std::move(replaced);
        return true;
    }
    insertLine(lineAfterLastEntry(*range), entry);
    return true;
}

bool ProfileDocument::removeKey(std::string_view section, std::string_view key) {
    auto range = findSection(section);
    if (!range) return false;
    bool removed = false;
    // A hand-written section may hold the key twice; once deleted it must not read at all.
    for (auto line = findKey(*range, key, 0); line; line = findKey(*range, key, *line)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
        --range->end;
        removed = true;
    }
    return removed;
}

bool ProfileDocument::retainKeys(std::string_view section, const std::vector<std::string>& keep) {
    const auto range = findSection(section);
    if (!range) return false;
    std::vector<std::string> seen;  // copies: erasing lines moves the texts
    std::size_t end = range->end;
    bool removed = false;
    for (std::size_t i = range->header + 1; i < end;) {
        const auto name = keyName(contentOf(i));
        const auto isName = [&](std::string_view other) { return sameName(other, *name); };
        const bool wanted = name && std::any_of(keep.begin(), keep.end(), isName) &&
                            std::none_of(seen.begin(), seen.end(), isName);
        if (!name || wanted) {
            if (name) seen.emplace_back(*name);
            ++i;
            continue;
        }
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
        --end;
        removed = true;
    }
    return removed;
}

bool ProfileDocument::removeSection(std::string_view section) {
    bool removed = false;
    for (auto range = findSection(section); range; range = findSection(section)) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
        removed = true;
    }
    return removed;
}

std::vector<std::string> ProfileDocument::sectionNames() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const auto name = headerName(contentOf(i));
        if (!name) continue;
        const bool seen = std::any_of(names.begin(), names.end(), [&](const std::string& known) {
            return sameName(known, *name);
        });
        if (!seen) names.emplace_back(*name);
    }
    return names;
}

std::string ProfileDocument::bytes() const {
    std::string out;
    for (const Line& line : lines_) out += line.text + line.ending;
    return out;
}

}  // namespace platform
