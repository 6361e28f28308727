// SPDX-License-Identifier: GPL-3.0-or-later
// Times one folder-library call, for bench/run_folder_bench.sh:
//   folder_bench sifrdir <folder> [key]      packs the folder's visible files into <folder>/directory.cff
//   folder_bench sifrdirTree <folder> [key]  packs the folder's whole tree (package version 3)
//   folder_bench desifrdir <package> [key]   restores them
// Prints "<operation> <seconds> <peak RSS in KiB>"; a non-empty ErrorMsg is printed and fails the run.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/NullControls.h"
#include "engine/VQ202.h"

namespace {

using bench::Bar;
using bench::Field;
using bench::NoWindow;
using bench::Text;

struct Listing : engine::FileList {
    Listing(std::string folder, bool whole) : path(std::move(folder)), tree(whole) {}
    std::string path;
    bool tree;
    std::string folder() const override { return path; }
    bool wholeTree() const override { return tree; }
    std::vector<std::string> fileNames() const override {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
            const std::string name = entry.path().filename();
            if (name[0] != '.' && entry.is_regular_file()) names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s sifrdir|sifrdirTree|desifrdir path [key]\n", argv[0]);
        return 2;
    }
    const std::string op = argv[1], path = argv[2], key = argc > 3 ? argv[3] : "benchmark key";
    Field hashEdit, errorMsg;
    Bar pb1, pb2, pbf;
    Text soubor, status;
    NoWindow window;
    // desifrdir gets the list unprepared, on the working directory.
    const bool packing = op == "sifrdir" || op == "sifrdirTree";
    Listing files(packing ? path : std::filesystem::current_path().string(), op == "sifrdirTree");
    const auto start = std::chrono::steady_clock::now();
    if (packing) {
        VQ202::sifrdir(path + "/directory.cff", hashEdit, files, errorMsg, pb1, pb2, pbf, soubor, status, window, key);
    } else if (op == "desifrdir") {
        VQ202::desifrdir(path, hashEdit, files, errorMsg, pb1, pb2, pbf, soubor, status, window, key);
    } else {
        std::fprintf(stderr, "unknown operation %s\n", op.c_str());
        return 2;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!errorMsg.text().empty()) {
        std::fprintf(stderr, "%s: %s\n", op.c_str(), errorMsg.text().c_str());
        return 1;
    }
    struct rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("%s %.3f %ld\n", op.c_str(), seconds, usage.ru_maxrss);
    return 0;
}
