// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/Settings.h"

#include <cstdlib>
#include <random>
#include <stdexcept>

namespace crash {
namespace {

std::uint64_t numberFrom(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (*end != '\0') throw std::invalid_argument(std::string(name) + " is not a number: " + text);
    return value;
}

Settings fromEnvironment() {
    Settings s;
    if (numberFrom("MIVEX_CRASH_LONG", 0) != 0) {
        s.kills = 50;
        s.fileBytes = 64u << 20;
        s.folderFiles = 200;
        s.treeFiles = 2000;
        s.treeFolders = 50;
    }
    s.kills = static_cast<int>(numberFrom("MIVEX_CRASH_KILLS", s.kills));
    s.fileBytes = static_cast<std::size_t>(numberFrom("MIVEX_CRASH_FILE_MIB", s.fileBytes >> 20)) << 20;
    s.folderFiles = static_cast<int>(numberFrom("MIVEX_CRASH_FOLDER_FILES", s.folderFiles));
    s.treeFiles = static_cast<int>(numberFrom("MIVEX_CRASH_TREE_FILES", s.treeFiles));
    s.treeFolders = static_cast<int>(numberFrom("MIVEX_CRASH_TREE_FOLDERS", s.treeFolders));
    s.scryptLog2N = static_cast<int>(numberFrom("MIVEX_CRASH_SCRYPT_LOG2N", s.scryptLog2N));
    // A new seed each run widens what the short run covers over time; a failure prints it for replay.
    s.seed = numberFrom("MIVEX_CRASH_SEED", std::random_device{}());
    if (const char* table = std::getenv("MIVEX_CRASH_TABLE")) s.tablePath = table;
    if (s.kills < 1 || s.folderFiles < 1 || s.treeFiles < 1 || s.treeFolders < 1 || s.fileBytes == 0) throw std::invalid_argument("MIVEX_CRASH_*: out of range");
    return s;
}

}  // namespace

const Settings& settings() {
    static const Settings s = fromEnvironment();
    return s;
}

}  // namespace crash
