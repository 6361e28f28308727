// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh folder per test, removed with everything in it afterwards.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testutil {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    // Names in the folder, hidden ones included.
    std::vector<std::string> entries() const;

private:
    std::string path_;
};

// A UTF-8 path as the file system library takes it on every system (wide on Windows).
std::filesystem::path fsPath(const std::string& utf8);
std::vector<unsigned char> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<unsigned char>& data);
std::vector<unsigned char> randomBytes(std::size_t size, std::uint32_t seed);

}  // namespace testutil
