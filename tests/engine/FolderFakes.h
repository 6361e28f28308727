// SPDX-License-Identifier: GPL-3.0-or-later
// The folder windows' controls for VQ202 tests: the eleven arguments of sifrdir / desifrdir in one place,
// and a file list that lists a folder as the folder-encryption window does.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/Ports.h"
#include "engine/VQ202.h"
#include "tests/engine/Fakes.h"

namespace testutil {

class FakeLabel : public engine::Label {
public:
    void setText(const std::string& utf8) override { texts.push_back(utf8); }
    std::vector<std::string> texts;
};

class FakeFileList : public engine::FileList {
public:
    FakeFileList(std::string folder, std::vector<std::string> names, bool wholeTree = false)
        : folder_(std::move(folder)), names_(std::move(names)), wholeTree_(wholeTree) {}
    std::string folder() const override { return folder_; }
    std::vector<std::string> fileNames() const override { return names_; }
    bool wholeTree() const override { return wholeTree_; }

private:
    std::string folder_;
    std::vector<std::string> names_;
    bool wholeTree_;
};

// The folder's regular files whose names do not start with ".", sorted ignoring ASCII letter case.
std::vector<std::string> visibleFiles(const std::string& folder);

// Everything of a folder that a round trip must give back: each entry's bytes, permissions and time.
struct FileState {
    std::vector<unsigned char> bytes;
    unsigned mode = 0;
    long long mtimeNs = 0;
    bool operator==(const FileState&) const = default;
};
using FolderState = std::map<std::string, FileState>;
FolderState snapshot(const std::string& folder);  // hidden entries included, no recursion
// The same for every entry below the folder, by relative path; folders with their permissions and times,
// links with their target as the bytes.
FolderState treeSnapshot(const std::string& folder);

// One folder window's worth of controls, fresh for each call.
struct FolderCall {
    FakeField hashEdit, errorMsg;
    FakeBar pb1, pb2, pbf;
    FakeLabel soubor, status;
    FakeWindow window;

    // sifrdir of the folder's visible files into folder + "/directory.cff"; returns ErrorMsg.
    std::string encrypt(const std::string& folder, const std::string& key, bool wholeTree = false);
    std::string decrypt(const std::string& packagePath, const std::string& key);
};

std::string encryptFolder(const std::string& folder, const std::string& key);
std::string encryptTree(const std::string& folder, const std::string& key);  // the answer "Ano"
std::string decryptPackage(const std::string& packagePath, const std::string& key);

}  // namespace testutil
