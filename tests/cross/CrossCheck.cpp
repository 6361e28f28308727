// SPDX-License-Identifier: GPL-3.0-or-later
// Files one system's build writes and the other's reads. `write DIR` puts known plain content into DIR and
// encrypts it with every method the program offers (keyed, fast, static with its sealed fingerprint, a
// folder package) and takes a fingerprint; `check DIR` decrypts and verifies what it finds there and compares
// it byte for byte with the same known content, made here again. scripts/cross-check writes on each system
// and checks on the other. Exit code 0 when every check passed. `pack FOLDER KEY` packs the files of a
// folder into FOLDER/directory.cff with KEY.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "engine/Roster.h"
#include "engine/VQ201.h"
#include "engine/VQ202.h"
#include "engine/VQ203.h"
#include "engine/core/TestHooks.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/TempDir.h"

namespace {

using Bytes = std::vector<unsigned char>;
using testutil::FakeBar;
using testutil::FakeField;
using testutil::FakeWindow;

const std::string kKey = "Příliš žluťoučký kůň 🐎";
const std::string kIdentity = "3F2A9C41#Jiří Dvořák";  // a user code and name, as the static key takes them
const std::string kPackageFolder = "balík";
const std::string kPackageName = "directory.cff";

// Content known on both sides without being carried: a fixed generator (xorshift), the same on every system.
Bytes content(std::size_t size, std::uint32_t seed) {
    Bytes bytes(size);
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<unsigned char>(state >> 24);
    }
    return bytes;
}

struct PlainFile {
    std::string name;
    std::size_t size;
    std::uint32_t seed;
    Bytes bytes() const { return content(size, seed); }
};

// Sizes across the chunk boundaries and the fast method's threshold; names in more than one script.
const PlainFile kKeyed{"klíčem šifrovaný.bin", 3 * 65536 + 17, 1};
const PlainFile kFast{"rychlý.bin", 1 << 20, 2};
const PlainFile kStatic{"statický.txt", 40000, 3};
const PlainFile kFingerprinted{"otisk.bin", 123457, 4};
const std::string kFingerprintText = "otisk.txt";
const std::vector<PlainFile> kPackaged{{"prázdný", 0, 5}, {"Ελληνικά.dat", 70001, 6}, {"velký.bin", (1 << 20) + 3, 7}};

std::string staticKey() {
    FakeField key;
    Roster::strtohex(kIdentity, key);
    return key.text();
}

std::string fingerprintOf(const std::string& path) {
    FakeField field;
    VQ201::hash(path, field);
    return field.text();
}

// The names of a folder's files, in UTF-8.
std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(testutil::fsPath(folder))) {
        if (!entry.is_regular_file()) continue;
        const std::u8string name = entry.path().filename().u8string();
        names.emplace_back(name.begin(), name.end());
    }
    return names;
}

// The named files of a folder packed into <folder>/directory.cff, as the folder encryption does it.
void packFolder(const std::string& folder, const std::vector<std::string>& names, const std::string& key) {
    FakeField hashEdit, errorMsg;
    FakeBar pb1, pb2, pbf;
    testutil::FakeLabel soubor, status;
    FakeWindow window;
    testutil::FakeFileList files(folder, names);
    VQ202::sifrdir(folder + "/" + kPackageName, hashEdit, files, errorMsg, pb1, pb2, pbf, soubor, status, window, key);
    if (!errorMsg.text().empty()) throw std::runtime_error("sifrdir: " + errorMsg.text());
}

void writeSet(const std::string& dir) {
    std::filesystem::create_directories(testutil::fsPath(dir));
    FakeBar bar;
    FakeWindow window;
    const auto place = [&](const PlainFile& file) {
        const std::string path = dir + "/" + file.name;
        testutil::writeFile(path, file.bytes());
        return path;
    };
    VQ203::sifrovat(place(kKeyed), kKey, bar, window);
    VQ203::fastsifrovat(place(kFast), kKey, bar, window);

    // As the static encryption does it: the fingerprint sealed into the file, the key from the identity.
    const std::string staticPath = place(kStatic);
    VQ203::priznak_pridat(fingerprintOf(staticPath), staticPath, bar);
    VQ203::sifrovat(staticPath, staticKey(), bar, window);

    const std::string fingerprinted = place(kFingerprinted);
    testutil::writeFile(dir + "/" + kFingerprintText, [&] {
        const std::string text = fingerprintOf(fingerprinted);
        return Bytes(text.begin(), text.end());
    }());

    const std::string folder = dir + "/" + kPackageFolder;
    std::filesystem::create_directories(testutil::fsPath(folder));
    std::vector<std::string> names;
    for (const PlainFile& file : kPackaged) {
        testutil::writeFile(folder + "/" + file.name, file.bytes());
        names.push_back(file.name);
    }
    packFolder(folder, names, kKey);
}

int checkSet(const std::string& dir) {
    int failures = 0;
    const auto check = [&](const std::string& what, const std::function<bool()>& test) {
        bool passed = false;
        try {
            passed = test();
        } catch (const std::exception& error) {
            std::cout << what << ": " << error.what() << "\n";
        }
        std::cout << (passed ? "OK     " : "FAILED ") << what << "\n";
        failures += passed ? 0 : 1;
    };
    FakeBar bar;
    FakeWindow window;
    const auto pathOf = [&](const PlainFile& file) { return dir + "/" + file.name; };
    const auto holds = [&](const PlainFile& file) { return testutil::readFile(pathOf(file)) == file.bytes(); };

    check("keyed file", [&] {
        if (VQ203::desifrovatelnost(pathOf(kKeyed)) != VQ203::Normal) return false;
        VQ203::desifrovat(pathOf(kKeyed), kKey, bar, window);
        return holds(kKeyed);
    });
    check("fast file", [&] {
        if (VQ203::desifrovatelnost(pathOf(kFast)) != VQ203::Fast) return false;
        VQ203::fastdesifrovat(pathOf(kFast), kKey, bar, window);
        return holds(kFast);
    });
    check("static file and its sealed fingerprint", [&] {
        VQ203::desifrovat(pathOf(kStatic), staticKey(), bar, window);
        FakeField sealed;
        VQ203::priznak_odebrat(sealed, pathOf(kStatic), bar);
        return holds(kStatic) && !sealed.text().empty() && sealed.text() == fingerprintOf(pathOf(kStatic));
    });
    check("fingerprint", [&] {
        const Bytes text = testutil::readFile(dir + "/" + kFingerprintText);
        return holds(kFingerprinted) && std::string(text.begin(), text.end()) == fingerprintOf(pathOf(kFingerprinted));
    });
    check("folder package", [&] {
        const std::string folder = dir + "/" + kPackageFolder;
        FakeField hashEdit, errorMsg;
        FakeBar pb1, pb2, pbf;
        testutil::FakeLabel soubor, status;
        testutil::FakeFileList files(folder, {});
        VQ202::desifrdir(folder + "/" + kPackageName, hashEdit, files, errorMsg, pb1, pb2, pbf, soubor, status, window,
                         kKey);
        if (!errorMsg.text().empty()) throw std::runtime_error(errorMsg.text());
        for (const PlainFile& file : kPackaged)
            if (testutil::readFile(folder + "/" + file.name) != file.bytes()) return false;
        return !std::filesystem::exists(testutil::fsPath(folder + "/" + kPackageName));
    });
    return failures;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string usage = "usage: mivex_crosscheck write|check FOLDER, or pack FOLDER KEY";
    if (argc != 3 && !(argc == 4 && std::string(argv[1]) == "pack")) {
        std::cerr << usage << "\n";
        return 2;
    }
    const std::string command = argv[1];
    try {
        if (command == "write") {
            // The cheap cost the tests use: it is written into each file, and the reader takes it from there.
            engine::core::setScryptCostForTesting(10);
            writeSet(argv[2]);
            std::cout << "written into " << argv[2] << "\n";
            return 0;
        }
        if (command == "check") return checkSet(argv[2]) == 0 ? 0 : 1;
        if (command == "pack") {
            // A package for the program's windows to restore (scripts/test-package-windows), at the cheap cost.
            engine::core::setScryptCostForTesting(10);
            packFolder(argv[2], filesIn(argv[2]), argv[3]);
            std::cout << "packed into " << argv[2] << "/" << kPackageName << "\n";
            return 0;
        }
    } catch (const std::exception& error) {
        std::cerr << command << ": " << error.what() << "\n";
        return 1;
    }
    std::cerr << usage << "\n";
    return 2;
}
