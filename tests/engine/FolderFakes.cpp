// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/engine/FolderFakes.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>
#include <sys/stat.h>

#include "tests/engine/TempDir.h"

namespace testutil {

std::vector<std::string> visibleFiles(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename();
        if (name[0] != '.' && entry.is_regular_file() && !entry.is_symlink()) names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return ::strcasecmp(a.c_str(), b.c_str()) < 0; });
    return names;
}

FolderState snapshot(const std::string& folder) {
    FolderState state;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        FileState file;
        if (S_ISREG(info.st_mode)) file.bytes = readFile(entry.path());
        file.mode = info.st_mode & 07777;
        file.mtimeNs = info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec;
        state[entry.path().filename()] = std::move(file);
    }
    return state;
}

FolderState treeSnapshot(const std::string& folder) {
    namespace fs = std::filesystem;
    FolderState state;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        ::lstat(entry.path().c_str(), &info);
        FileState file;
        if (S_ISREG(info.st_mode)) file.bytes = readFile(entry.path());
        if (S_ISLNK(info.st_mode)) {
            const std::string target = fs::read_symlink(entry.path());
            file.bytes.assign(target.begin(), target.end());
        }
        file.mode = info.st_mode & (S_IFMT | 07777);
        file.mtimeNs = info.st_mtim.tv_sec * 1'000'000'000LL + info.st_mtim.tv_nsec;
        state[entry.path().lexically_relative(folder)] = std::move(file);
    }
    return state;
}

std::string FolderCall::encrypt(const std::string& folder, const std::string& key, bool wholeTree) {
    FakeFileList files(folder, visibleFiles(folder), wholeTree);
    VQ202::sifrdir(folder + "/directory.cff", hashEdit, files, errorMsg, pb1, pb2, pbf, soubor, status, window, key);
    return errorMsg.text();
}

std::string FolderCall::decrypt(const std::string& packagePath, const std::string& key) {
    FakeFileList files(".", visibleFiles("."));  // unprepared, as the folder-decryption window hands it
    VQ202::desifrdir(packagePath, hashEdit, files, errorMsg, pb1, pb2, pbf, soubor, status, window, key);
    return errorMsg.text();
}

std::string encryptFolder(const std::string& folder, const std::string& key) {
    FolderCall call;
    return call.encrypt(folder, key);
}

std::string encryptTree(const std::string& folder, const std::string& key) {
    FolderCall call;
    return call.encrypt(folder, key, true);
}

std::string decryptPackage(const std::string& packagePath, const std::string& key) {
    FolderCall call;
    return call.decrypt(packagePath, key);
}

}  // namespace testutil
