// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpora of the fuzz targets with the project's own writers, encrypted under the fuzz key
// at the cheap KDF cost: fuzz_seeds <folder holding one subfolder per target>. Seeds stay small, so that
// they can be committed.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/VQ203.h"
#include "engine/core/Magic.h"
#include "engine/vq202/PackageIndex.h"
#include "engine/vq203/Method.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/Sealed.h"
#include "tests/engine/legacy/LegacyWriters.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fs = std::filesystem;
using fuzz::Bytes;

namespace {

Bytes bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

Bytes prefixed(unsigned char first, const Bytes& rest) {
    Bytes bytes{first};
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    return bytes;
}

void seed(const fs::path& corpus, const std::string& name, const Bytes& bytes) {
    fs::create_directories(corpus);
    fuzz::writeBytes((corpus / name).string(), bytes.data(), bytes.size());
}

// A small file encrypted in place by sifrovat or fastsifrovat, carrying the file flag when one is given.
Bytes encryptedFile(const std::string& content, bool fast, const std::string& fingerprint) {
    const std::string path = fuzz::scratch() + "/seed";
    fuzz::writeBytes(path, reinterpret_cast<const unsigned char*>(content.data()), content.size());
    testutil::FakeBar bar;
    testutil::FakeWindow window;
    if (!fingerprint.empty()) VQ203::priznak_pridat(fingerprint, path, bar);
    (fast ? VQ203::fastsifrovat : VQ203::sifrovat)(path, fuzz::kKey, bar, window);
    return fuzz::readBytes(path);
}

Bytes folderPackage() {
    const std::string folder = fuzz::scratch() + "/folder";
    fuzz::resetFolder(folder);
    fuzz::writeBytes(folder + "/a.txt", reinterpret_cast<const unsigned char*>("first"), 5);
    fuzz::writeBytes(folder + "/b.txt", reinterpret_cast<const unsigned char*>("second"), 6);
    if (!testutil::encryptFolder(folder, fuzz::kKey).empty()) fuzz::require(false, "sifrdir failed");
    return fuzz::readBytes(folder + "/directory.cff");
}

Bytes treePackage() {
    const std::string folder = fuzz::scratch() + "/tree";
    fuzz::resetFolder(folder);
    std::filesystem::create_directories(folder + "/d/e");
    std::filesystem::create_directory(folder + "/prázdná");
    fuzz::writeBytes(folder + "/a.txt", reinterpret_cast<const unsigned char*>("first"), 5);
    fuzz::writeBytes(folder + "/d/e/b.txt", reinterpret_cast<const unsigned char*>("second"), 6);
    if (!testutil::encryptTree(folder, fuzz::kKey).empty()) fuzz::require(false, "sifrdir of a tree failed");
    return fuzz::readBytes(folder + "/directory.cff");
}

// The tree version's plaintext: a folder, a file in it, a file at the top.
Bytes treePlaintext() {
    const std::vector<VQ202::detail::Entry> index{{"d", 0, 1'600'000'000, 0, 0750, true},
                                                  {"d/a.txt", 5, 1'600'000'000, 0, 0640},
                                                  {"b.txt", 6, 1'600'000'000, 0, 0600}};
    Bytes plain = VQ202::detail::serializeIndex(index, VQ202::detail::IndexLayout::Tree);
    const Bytes contents = bytesOf("firstsecond");
    plain.insert(plain.end(), contents.begin(), contents.end());
    return plain;
}

Bytes packagePlaintext() {
    const std::vector<VQ202::detail::Entry> index{{"a.txt", 5, 1'600'000'000, 0, 0640}, {"b.txt", 6, 1'600'000'000, 0, 0600}};
    Bytes plain = VQ202::detail::serializeIndex(index, VQ202::detail::IndexLayout::Flat);
    const Bytes contents = bytesOf("firstsecond");
    plain.insert(plain.end(), contents.begin(), contents.end());
    return plain;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <tests/fuzz folder>\n");
        return 2;
    }
    fuzz::useCheapKdf();
    const fs::path root = argv[1];

    const Bytes normal = encryptedFile("hello", false, "");
    const Bytes fast = encryptedFile("hello", true, "");
    const Bytes flagged = encryptedFile("flagged content", false, "0123456789abcdef");
    const Bytes empty = encryptedFile("", false, "");
    for (const char* target : {"header", "decrypt"}) {
        seed(root / target, "normal", normal);
        seed(root / target, "fast", fast);
        seed(root / target, "flagged", flagged);
        seed(root / target, "empty", empty);
    }
    seed(root / "header", "plain", bytesOf("not encrypted"));

    const Bytes trailer = VQ203::detail::flagTrailer("0123456789abcdef");
    Bytes withFlag = bytesOf("content");
    withFlag.insert(withFlag.end(), trailer.begin(), trailer.end());
    seed(root / "flag", "with-flag", withFlag);
    seed(root / "flag", "without-flag", bytesOf("content"));

    seed(root / "package", "package", prefixed(0, folderPackage()));
    seed(root / "package", "plaintext", prefixed(1, packagePlaintext()));
    seed(root / "package", "tree", prefixed(0, treePackage()));
    seed(root / "package", "tree-plaintext", prefixed(9, treePlaintext()));

    const Bytes plain = bytesOf("hello, older base");
    const auto writers = {legacytest::write104, legacytest::write105, legacytest::write106, legacytest::write2010};
    unsigned char base = 0;
    for (const auto write : writers) {
        const std::string name = std::to_string(base);
        seed(root / "legacy", "file-" + name, prefixed(base, write(plain, fuzz::kKey, {})));
        seed(root / "legacy", "plaintext-" + name, prefixed(base | 4, plain));
        ++base;
    }

    seed(root / "profile", "users",
         bytesOf("Users\nalice\nnew value\n; users\r\n[Users]\r\nalice=1\r\nbob = 2 \r\n\r\n[Other]\r\nkey=value\r\n"));
    seed(root / "profile", "bom", bytesOf("Settings\nLanguage\ncs\n\xEF\xBB\xBF[Settings]\nLanguage=en\n#end"));
    std::printf("seeds written under %s\n", root.c_str());
    return 0;
}
