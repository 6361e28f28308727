// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/EntryNames.h"

#include <random>

namespace engine::core {
namespace {

constexpr std::string_view kTag = ".mvxtmp-";
constexpr std::string_view kSuffixLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool isSuffixLetter(char c) { return kSuffixLetters.find(c) != std::string_view::npos; }

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

std::string temporaryNameFor(std::string_view finalName, std::string_view suffix) {
    std::string name;
    if (!finalName.empty()) name.append(".").append(finalName.substr(0, kTemporaryStemLimit));
    return name.append(kTag).append(suffix);
}

std::string randomTemporarySuffix() {
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kSuffixLetters.size() - 1);
    std::string suffix;
    for (std::size_t i = 0; i < kTemporarySuffixLength; ++i) suffix += kSuffixLetters[pick(generator)];
    return suffix;
}

bool isTemporaryName(std::string_view name) {
    if (name.size() < kTag.size() + kTemporarySuffixLength) return false;
    const std::size_t tagAt = name.size() - kTemporarySuffixLength - kTag.size();
    if (name.substr(tagAt, kTag.size()) != kTag) return false;
    for (const char c : name.substr(tagAt + kTag.size()))
        if (!isSuffixLetter(c)) return false;
    if (tagAt == 0) return true;  // ".mvxtmp-XXXXXX"
    // ".<stem>.mvxtmp-XXXXXX" with the stem as temporaryNameFor takes it from a final name.
    const std::string_view stem = name.substr(1, tagAt - 1);
    return name[0] == '.' && !stem.empty() && stem.size() <= kTemporaryStemLimit &&
           stem.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::string_view finalNameOf(std::string_view temporaryName) {
    const std::size_t tagAt = temporaryName.size() - kTemporarySuffixLength - kTag.size();
    return tagAt == 0 ? std::string_view() : temporaryName.substr(1, tagAt - 1);
}

bool hasControlCharacter(std::string_view name) {
    for (const char c : name)
        if (isControl(static_cast<unsigned char>(c))) return true;
    return false;
}

bool isRestorableName(std::string_view name) { return !isTemporaryName(name) && !hasControlCharacter(name); }

std::string printableName(std::string_view name) {
    std::string shown;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (!isControl(byte)) {
            shown += c;
            continue;
        }
        // U+2400 + byte ("␊" for a line break), U+2421 ("␡") for DEL, in UTF-8.
        const unsigned symbol = byte == 0x7F ? 0x2421 : 0x2400 + byte;
        shown += static_cast<char>(0xE0 | (symbol >> 12));
        shown += static_cast<char>(0x80 | ((symbol >> 6) & 0x3F));
        shown += static_cast<char>(0x80 | (symbol & 0x3F));
    }
    return shown;
}

}  // namespace engine::core
