// SPDX-License-Identifier: GPL-3.0-or-later
// Checks shared by the bad-input tests: the call throws engine::Error with the expected message, the file
// is byte for byte as before, and no temporary file is left beside it.
#pragma once

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "engine/Ports.h"
#include "tests/engine/TempDir.h"

namespace testutil {

inline bool hasTemporaryFiles(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".mvxtmp") != std::string::npos) return true;
    return false;
}

inline void expectRefused(const std::string& path, const std::string& message, const std::function<void()>& call) {
    const bool existed = std::filesystem::is_regular_file(path);
    const auto before = existed ? readFile(path) : std::vector<unsigned char>{};
    try {
        call();
        ADD_FAILURE() << "no engine::Error, expected \"" << message << "\"";
    } catch (const engine::Error& error) {
        EXPECT_EQ(std::string(error.what()), message);
    }
    if (existed) {
        EXPECT_EQ(readFile(path), before) << "the file was changed";
    }
    const auto folder = std::filesystem::path(path).parent_path().string();
    if (std::filesystem::is_directory(folder)) {
        EXPECT_FALSE(hasTemporaryFiles(folder));
    }
}

// A small tmpfs of its own, for a full disk or a read-only file system; only root may mount.
class SmallTmpfs {
public:
    explicit SmallTmpfs(const std::string& options) {
        if (::geteuid() != 0) return;
        if (::mount("tmpfs", dir_.path().c_str(), "tmpfs", 0, options.c_str()) == 0) mounted_ = true;
    }
    ~SmallTmpfs() {
        if (mounted_) ::umount2(dir_.path().c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }
    std::string file(const std::string& name) const { return dir_.file(name); }
    const std::string& path() const { return dir_.path(); }
    bool remountReadOnly() {
        return ::mount("tmpfs", dir_.path().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    TempDir dir_;
    bool mounted_ = false;
};

}  // namespace testutil
