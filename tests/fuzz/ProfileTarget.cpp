// SPDX-License-Identifier: GPL-3.0-or-later
// The private-profile (INI) reader and writer. The input is a section name, a key and a value, each ended
// by a line break, then the text of a profile file. What must hold for any text: it parses and prints back
// byte for byte; a value written reads back the same (blanks around it do not count); a deleted key reads
// as missing; and each write leaves no temporary file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ProfileDocument.h"
#include "platform/ProfileFile.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// Cuts the text up to the next line break off `input`; nothing when there is none.
bool takeLine(std::string_view& input, std::string_view& line) {
    const auto end = input.find('\n');
    if (end == std::string_view::npos) return false;
    line = input.substr(0, end);
    input.remove_prefix(end + 1);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view section, key, value;
    if (!takeLine(input, section) || !takeLine(input, key) || !takeLine(input, value)) return -1;
    const std::string text(input);

    platform::ProfileDocument document(text);
    fuzz::require(document.bytes() == text, "a profile text does not print back as it was read");
    (void)document.sectionNames();
    (void)document.value(section, key);

    using platform::ProfileFile;
    if (!ProfileFile::isStorableSection(section) || !ProfileFile::isStorableKey(key) ||
        !ProfileFile::isStorableValue(value) || value.size() > ProfileFile::kMaxValueCharacters)
        return 0;
    const std::string folder = fuzz::scratch() + "/profile";
    fuzz::resetFolder(folder);
    const std::string path = folder + "/data.adb";
    fuzz::writeBytes(path, reinterpret_cast<const unsigned char*>(text.data()), text.size());
    ProfileFile file(path);
    file.writeString(section, key, value);
    fuzz::require(file.readString(section, key) == platform::trimBlanks(value), "a written value reads back changed");
    const fuzz::Bytes raw = fuzz::readBytes(path);
    const std::string written(raw.begin(), raw.end());
    fuzz::require(platform::ProfileDocument(written).bytes() == written, "a written profile does not read back");
    file.deleteKey(section, key);
    fuzz::require(file.readString(section, key, "\n") == "\n", "a deleted key still reads");
    fuzz::require(!fuzz::holdsTemporaryFile(folder), "a profile write left a temporary file");
    return 0;
}
