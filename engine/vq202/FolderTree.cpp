// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vq202/FolderTree.h"

#include "engine/Ports.h"
#include "engine/core/Messages.h"
#include "engine/vq202/PackageIndex.h"

namespace VQ202::detail {

using engine::core::Folder;

FolderTree::FolderTree(const Folder& top, std::size_t maxOpen) : top_(top), maxOpen_(maxOpen) {}

FolderTree::Node& FolderTree::nodeAt(std::string_view path) {
    const auto found = nodes_.find(path);
    if (found == nodes_.end()) throw engine::Error(engine::msg::kFileMissing);
    return found->second;
}

const Folder* FolderTree::find(std::string_view path) {
    if (path.empty()) return &top_;
    const auto found = nodes_.find(path);
    return found == nodes_.end() ? nullptr : &folderOf(found->second);
}

const Folder& FolderTree::folderOf(Node& node) {
    if (!node.folder) reopen(node);
    else if (node.pins == 0) lru_.splice(lru_.end(), lru_, node.inLru);  // the most recently used now
    return *node.folder;
}

// The parent stays pinned while its child is opened from it: making room must not let it go.
void FolderTree::reopen(Node& node) {
    const auto [parentPath, leaf] = splitPath(node.path);
    const Folder* parent = find(parentPath);
    if (!parent) throw engine::Error(engine::msg::kFileMissing);
    pin(parentPath);
    try {
        makeRoom();
        Folder folder = Folder::subfolder(*parent, std::string(leaf));
        const auto now = engine::core::stateOf(folder.descriptor());
        if (!now || !engine::core::sameFile(*now, node.identity))
            throw engine::Error(engine::msg::kFolderMovedMeanwhile);
        node.folder.emplace(std::move(folder));
    } catch (...) {
        unpin(parentPath);
        throw;
    }
    unpin(parentPath);
    opened(node);
}

void FolderTree::opened(Node& node) {
    ++openBelowTop_;
    node.inLru = lru_.insert(lru_.end(), &node);
}

void FolderTree::makeRoom() {
    while (openBelowTop_ >= maxOpen_ && !lru_.empty()) {
        Node* oldest = lru_.front();
        lru_.pop_front();
        oldest->folder.reset();
        --openBelowTop_;
    }
}

const Folder& FolderTree::open(const std::string& path, bool create) {
    const auto [parentPath, name] = splitPath(path);
    const Folder* parent = find(parentPath);
    if (!parent) throw engine::Error(engine::msg::kFileMissing);
    if (nodes_.contains(path)) return folderOf(nodes_.find(path)->second);
    const std::string leaf(name);
    pin(parentPath);
    std::optional<Folder> made;
    try {
        makeRoom();
        made.emplace(create ? Folder::newSubfolder(*parent, leaf) : Folder::subfolder(*parent, leaf));
    } catch (...) {
        unpin(parentPath);
        throw;
    }
    unpin(parentPath);
    const auto identity = engine::core::stateOf(made->descriptor());
    if (!identity) throw engine::Error(engine::msg::kFileMissing);
    Node& node = nodes_.try_emplace(path).first->second;
    node.path = path;
    node.identity = *identity;
    node.folder.emplace(std::move(*made));
    order_.push_back(&node);
    opened(node);
    return *node.folder;
}

void FolderTree::pin(std::string_view path) {
    if (path.empty()) return;  // the top is never let go
    Node& node = nodeAt(path);
    folderOf(node);
    if (node.pins++ == 0) lru_.erase(node.inLru);
}

void FolderTree::unpin(std::string_view path) {
    if (path.empty()) return;
    Node& node = nodeAt(path);
    if (node.pins > 0 && --node.pins == 0) node.inLru = lru_.insert(lru_.end(), &node);
}

void FolderTree::forEach(const std::function<void(const Folder&)>& visit) {
    visit(top_);
    for (Node* node : order_) visit(folderOf(*node));
}

}  // namespace VQ202::detail
