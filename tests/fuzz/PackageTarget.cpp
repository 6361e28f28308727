// SPDX-License-Identifier: GPL-3.0-or-later
// The folder package: header, index and stream, read by desifrdir into a folder of its own.
// The first input byte chooses what the rest is: even, the package file itself; odd, the plaintext of a
// package (index and contents) sealed under the fuzz key, so that the index parser is reached behind the
// authentication: as version 1 (bare names), or with bit 3 set as the tree version (kinds and paths). The package folder lies three levels down a scratch tree, so that a name climbing out of
// it ("../x", "../../x") lands where the target sees it: nothing may appear outside the package folder.
// Before each restore the folder gets planted entries (chosen by the first byte's next bits) under names the
// seed packages use: links to a file and a folder outside, a copy with the same bytes, a file with a second
// name outside, a FIFO, a folder. None of them, nor what their links lead to, may change.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <set>

#include "engine/VQ202.h"
#include "engine/core/Magic.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/Sealed.h"
#include "tests/fuzz/CheapKdf.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

struct Planted {
    std::string name;
    enum Kind { LinkToFile, LinkToFolder, Copy, SecondName, Fifo, Folder } kind;
};

std::vector<Planted> plantsFor(unsigned choice) {
    switch (choice % 4) {
        case 0: return {{"a.txt", Planted::LinkToFile}, {"b.txt", Planted::LinkToFolder}};
        case 1: return {{"a.txt", Planted::Copy}, {"b.txt", Planted::SecondName}};
        case 2: return {{"a.txt", Planted::Folder}, {"b.txt", Planted::Fifo}};
        default: return {};
    }
}

const fuzz::Bytes kOutside{'o', 'u', 't'};
const fuzz::Bytes kFirst{'f', 'i', 'r', 's', 't'};
const fuzz::Bytes kSecond{'s', 'e', 'c', 'o', 'n', 'd'};

void plant(const std::string& root, const std::string& folder, const std::vector<Planted>& plants) {
    namespace fs = std::filesystem;
    fuzz::writeBytes(root + "/outside.txt", kOutside.data(), kOutside.size());
    fs::create_directory(root + "/elsewhere");
    fuzz::writeBytes(root + "/linked.txt", kSecond.data(), kSecond.size());
    for (const Planted& p : plants) {
        const std::string path = folder + "/" + p.name;
        switch (p.kind) {
            case Planted::LinkToFile: fs::create_symlink(root + "/outside.txt", path); break;
            case Planted::LinkToFolder: fs::create_directory_symlink(root + "/elsewhere", path); break;
            case Planted::Copy: fuzz::writeBytes(path, kFirst.data(), kFirst.size()); break;
            case Planted::SecondName: fs::create_hard_link(root + "/linked.txt", path); break;
            case Planted::Fifo: ::mkfifo(path.c_str(), 0600); break;
            case Planted::Folder: fs::create_directory(path); break;
        }
    }
}

// Every planted entry is still what it was, and so is everything outside the folder.
void requirePlantsUntouched(const std::string& root, const std::string& folder, const std::vector<Planted>& plants) {
    namespace fs = std::filesystem;
    fuzz::require(fuzz::readBytes(root + "/outside.txt") == kOutside, "the file behind a planted link changed");
    fuzz::require(fs::is_empty(root + "/elsewhere"), "something was written into the folder behind a planted link");
    fuzz::require(fuzz::readBytes(root + "/linked.txt") == kSecond, "a file with a second name outside changed");
    for (const Planted& p : plants) {
        const fs::path path = folder + "/" + p.name;
        const fs::file_status status = fs::symlink_status(path);
        bool same = false;
        switch (p.kind) {
            case Planted::LinkToFile:
            case Planted::LinkToFolder: same = fs::is_symlink(status); break;
            case Planted::Copy: same = fs::is_regular_file(status) && fuzz::readBytes(path) == kFirst; break;
            case Planted::SecondName: same = fs::is_regular_file(status) && fs::hard_link_count(path) == 2; break;
            case Planted::Fifo: same = fs::is_fifo(status); break;
            case Planted::Folder: same = fs::is_directory(status) && fs::is_empty(path); break;
        }
        fuzz::require(same, "a planted entry was replaced or changed");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool sealPlaintext = data[0] & 1;
    const bool tree = (data[0] >> 3) & 1;
    const std::vector<Planted> plants = plantsFor(data[0] >> 1);
    ++data, --size;
    if (!sealPlaintext && !fuzz::asksCheapScrypt(data, size)) return -1;
    fuzz::useCheapKdf();

    const std::string root = fuzz::scratch() + "/package";
    const std::string folder = root + "/a/b/folder";
    fuzz::resetFolder(root);
    fuzz::resetFolder(folder);
    const std::string package = folder + "/directory.cff";
    fuzz::Bytes file(data, data + size);
    if (sealPlaintext)
        file = tree ? testutil::sealedTreePackage(file, fuzz::kKey)
                    : testutil::sealedWith(engine::core::kMagicPackageV1, file, fuzz::kKey);
    fuzz::writeBytes(package, file.data(), file.size());
    plant(root, folder, plants);

    testutil::FolderCall call;
    testutil::FakeFileList files(folder, {});
    VQ202::desifrdir(package, call.hashEdit, files, call.errorMsg, call.pb1, call.pb2, call.pbf, call.soubor,
                     call.status, call.window, fuzz::kKey);

    for (const auto& path : fuzz::listTree(root))
        fuzz::require(path == "a" || path == "a/b" || path.starts_with("a/b/folder") || path == "outside.txt" ||
                          path == "elsewhere" || path == "linked.txt",
                      "desifrdir wrote outside the package's folder");
    requirePlantsUntouched(root, folder, plants);
    if (!call.errorMsg.text().empty()) {
        fuzz::requireUntouched(package, file.data(), file.size());
        std::set<std::string> expected{"directory.cff"};
        for (const Planted& p : plants) expected.insert(p.name);
        std::set<std::string> there;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) there.insert(entry.path().filename());
        fuzz::require(there == expected, "a refused package left files in the folder");
    }
    return 0;
}
