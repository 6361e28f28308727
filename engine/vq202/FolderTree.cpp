// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vq202/FolderTree.h"

#include "engine/Ports.h"
#include "engine/core/Messages.h"
#include "engine/vq202/PackageIndex.h"

namespace VQ202::detail {

using engine::core::Folder;

const Folder* FolderTree::find(std::string_view path) const {
    const auto found = byPath_.find(path);
    return found == byPath_.end() ? nullptr : found->second;
}

const Folder& FolderTree::open(const std::string& path, bool create) {
    const auto [parentPath, name] = splitPath(path);
    const Folder* parent = find(parentPath);
    if (!parent) throw engine::Error(engine::msg::kFileMissing);
    const std::string leaf(name);
    Folder& folder = opened_.emplace_back(create ? Folder::newSubfolder(*parent, leaf) : Folder::subfolder(*parent, leaf));
    byPath_.emplace(path, &folder);
    order_.push_back(&folder);
    return folder;
}

}  // namespace VQ202::detail
