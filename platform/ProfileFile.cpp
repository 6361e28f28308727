// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include <charconv>
#include <filesystem>
#include <optional>

#include "engine/Ports.h"
#include "engine/core/FileIO.h"
#include "platform/ProfileDocument.h"
#include "platform/ProfileStorage.h"

namespace platform {
namespace {

using profile_storage::isReadOnly;
using profile_storage::readBytes;
using profile_storage::writeTarget;

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

// Cuts a value after kMaxValueCharacters characters without splitting a UTF-8 sequence.
std::string cutToReadLength(std::string value) {
    std::size_t at = 0;
    for (std::size_t count = 0; at < value.size() && count < ProfileFile::kMaxValueCharacters; ++count) {
        const auto lead = static_cast<unsigned char>(value[at]);
        const std::size_t length = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        std::size_t next = at + 1;
        while (next < at + length && next < value.size() &&
               (static_cast<unsigned char>(value[next]) & 0xC0) == 0x80)
            ++next;
        at = (next == at + length) ? next : at + 1;  // a broken sequence counts byte by byte
    }
    value.resize(at);
    return value;
}

std::optional<long long> parseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with('+')) {
        text.remove_prefix(1);
    }
    long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    if (base == 16 && text.starts_with('-')) return std::nullopt;
    return number;
}

}  // namespace

WriteError::WriteError(const std::string& path)
    : RuntimeError(unableToWrite(QString::fromStdString(path))), path_(path) {}

std::string ProfileReader::readString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
    const auto value = document_->value(section, key);
    return cutToReadLength(value ? *value : std::string(defaultValue));
}

long long ProfileReader::readInt(std::string_view section, std::string_view key, long long defaultValue) const {
    const auto value = document_->value(section, key);
    if (!value) return defaultValue;
    return parseNumber(cutToReadLength(*value)).value_or(0);
}

std::vector<std::string> ProfileReader::sectionNames() const { return document_->sectionNames(); }

ProfileSnapshot::ProfileSnapshot(std::shared_ptr<const ProfileDocument> document)
    : ProfileReader(*document), document_(std::move(document)) {}

ProfileEdit::ProfileEdit(ProfileDocument& document) : ProfileReader(document), document_(document) {}

void ProfileEdit::writeString(std::string_view section, std::string_view key, std::string_view value) {
    if (!ProfileFile::isStorableSection(section) || !ProfileFile::isStorableKey(key) ||
        !ProfileFile::isStorableValue(value))
        throw std::invalid_argument("profile entry cannot be stored");
    changed_ |= document_.setValue(section, key, value);
}

void ProfileEdit::writeInt(std::string_view section, std::string_view key, long long value) {
    writeString(section, key, std::to_string(value));
}

void ProfileEdit::deleteKey(std::string_view section, std::string_view key) {
    changed_ |= document_.removeKey(section, key);
}

void ProfileEdit::retainKeys(std::string_view section, const std::vector<std::string>& keep) {
    changed_ |= document_.retainKeys(section, keep);
}

void ProfileEdit::deleteSection(std::string_view section) { changed_ |= document_.removeSection(section); }

// UTF-8 in and out, with '/' on every system (the engine's paths).
ProfileFile::ProfileFile(const std::string& path) {
    const std::filesystem::path given(std::u8string(path.begin(), path.end()));
    const std::u8string absolute = std::filesystem::absolute(given).lexically_normal().generic_u8string();
    path_.assign(absolute.begin(), absolute.end());
}

ProfileSnapshot ProfileFile::snapshot() const {
    return ProfileSnapshot(std::make_shared<const ProfileDocument>(readBytes(path_).value_or(std::string())));
}

std::string ProfileFile::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
    return snapshot().readString(section, key, defaultValue);
}

long long ProfileFile::readInt(std::string_view section, std::string_view key, long long defaultValue) const {
    return snapshot().readInt(section, key, defaultValue);
}

std::vector<std::string> ProfileFile::sectionNames() const { return snapshot().sectionNames(); }

void ProfileFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    change([&](ProfileEdit& edit) { edit.writeString(section, key, value); });
}

void ProfileFile::writeInt(std::string_view section, std::string_view key, long long value) {
    change([&](ProfileEdit& edit) { edit.writeInt(section, key, value); });
}

void ProfileFile::deleteKey(std::string_view section, std::string_view key) {
    change([&](ProfileEdit& edit) { edit.deleteKey(section, key); });
}

void ProfileFile::change(const std::function<void(ProfileEdit&)>& changes) {
    const std::string target = writeTarget(path_);
    const auto bytes = readBytes(target);
    if (!bytes) throw WriteError(path_);
    ProfileDocument document(*bytes);
    ProfileEdit edit(document);
    changes(edit);
    if (!edit.changed_) return;
    if (isReadOnly(target)) throw WriteError(path_);
    const std::string text = document.bytes();
    try {
        const engine::core::Folder folder(engine::core::folderOf(target));
        engine::core::ReplacementFile replacement(folder, engine::core::baseNameOf(target), text.size());
        replacement.writeAt(text.data(), text.size(), 0);
        replacement.commit(text.size());
    } catch (const engine::Error&) {
        throw WriteError(path_);
    }
}

bool ProfileFile::isStorableSection(std::string_view name) {
    return !trimBlanks(name).empty() && !hasLineBreak(name) && name.find(']') == std::string_view::npos;
}

bool ProfileFile::isStorableKey(std::string_view name) {
    const std::string_view content = trimBlanks(name);
    return !content.empty() && !hasLineBreak(name) && name.find('=') == std::string_view::npos &&
           content.front() != '[' && content.front() != ';' && content.front() != '#';
}

bool ProfileFile::isStorableValue(std::string_view value) { return !hasLineBreak(value); }

}  // namespace platform
