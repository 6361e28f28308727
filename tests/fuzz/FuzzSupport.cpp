// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/fuzz/FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "engine/core/TestHooks.h"

namespace fs = std::filesystem;

namespace fuzz {

namespace {

std::string makeScratch() {
    std::string pattern = (fs::temp_directory_path() / "mivex-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    static std::string removeAtExit;
    removeAtExit = pattern;
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(removeAtExit, ignored);
    });
    return pattern;
}

}  // namespace

void useCheapKdf() {
    static const bool done = [] {
        engine::core::setScryptCostForTesting(10);
        return true;
    }();
    (void)done;
}

const std::string& scratch() {
    static const std::string path = makeScratch();
    return path;
}

void resetFolder(const std::string& folder) {
    std::error_code ignored;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
}

void writeBytes(const std::string& path, const unsigned char* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    require(static_cast<bool>(out), "cannot write the input file");
}

Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    require(static_cast<bool>(in), "cannot read a file back");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> listTree(const std::string& root) {
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        paths.push_back(fs::relative(entry.path(), root).string());
    return paths;
}

bool holdsTemporaryFile(const std::string& root) {
    for (const auto& path : listTree(root))
        if (path.find(".mvxtmp-") != std::string::npos) return true;
    return false;
}

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

void requireUntouched(const std::string& path, const unsigned char* data, std::size_t size) {
    const Bytes now = readBytes(path);
    require(now.size() == size && (size == 0 || std::memcmp(now.data(), data, size) == 0),
            "a refused input file was changed");
    require(!holdsTemporaryFile(fs::path(path).parent_path().string()), "a refused input left a temporary file");
}

}  // namespace fuzz
