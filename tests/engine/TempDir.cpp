// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/TempDir.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

namespace testutil {
namespace {

// UTF-8 with '/', as the engine takes paths on every system.
std::string utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

TempDir::TempDir() {
    // create_directory refuses a name that exists, as mkdtemp would; it is there on every system.
    std::random_device seed;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const auto candidate = std::filesystem::temp_directory_path() / ("mivex-test-" + std::to_string(seed()));
        if (std::filesystem::create_directory(candidate)) path_ = utf8Of(candidate);
    }
    if (path_.empty()) throw std::runtime_error("no fresh temporary folder");
    std::filesystem::permissions(fsPath(path_), std::filesystem::perms::owner_all);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(fsPath(path_), std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(fsPath(path_), ignored);
}

std::vector<std::string> TempDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(fsPath(path_))) names.push_back(utf8Of(entry.path().filename()));
    return names;
}

std::filesystem::path fsPath(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }

std::vector<unsigned char> readFile(const std::string& path) {
    std::ifstream in(fsPath(path), std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::vector<unsigned char>& data) {
    std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<unsigned char> randomBytes(std::size_t size, std::uint32_t seed) {
    std::mt19937 generator(seed);
    std::vector<unsigned char> data(size);
    for (auto& byte : data) byte = static_cast<unsigned char>(generator());
    return data;
}

}  // namespace testutil
