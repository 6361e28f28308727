// SPDX-License-Identifier: GPL-3.0-or-later
// The folders of a tree that a package takes or restores, each opened relative to its parent (never through
// a path, never through a link), found by its path relative to the top folder.
//
// A tree may have more folders than the process may hold descriptors. With a bound, the folders used least
// recently are let go (never the top, never a pinned one) and opened again when needed: one name at a time
// from the nearest open folder above, without following a link, and only if it is still the very folder
// first opened there (else engine::Error: the tree was changed meanwhile).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/FileState.h"
#include "engine/core/Folder.h"

namespace VQ202::detail {

class FolderTree {
public:
    // At most `maxOpen` folders below the top stay open at once, besides the pinned ones.
    explicit FolderTree(const engine::core::Folder& top, std::size_t maxOpen = std::numeric_limits<std::size_t>::max());
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;

    const engine::core::Folder& top() const { return top_; }
    // The folder at `path` ("" for the top), opened again if it was let go; nullptr when no folder of that
    // path was opened. The reference stays valid until the next call of find or open, or while pinned.
    // Throws engine::Error when it cannot be opened again.
    const engine::core::Folder* find(std::string_view path);
    // Opens the existing folder at `path`, or with `create` makes it first; its parent must be open.
    // Throws engine::Error.
    const engine::core::Folder& open(const std::string& path, bool create = false);
    // A pinned folder stays open (and its object where it is) until unpinned as often as pinned.
    void pin(std::string_view path);
    void unpin(std::string_view path);
    // Every folder opened so far, the top first, each after its parent (opened again as needed).
    void forEach(const std::function<void(const engine::core::Folder&)>& visit);
    std::size_t size() const { return order_.size(); }
    std::size_t openNow() const { return openBelowTop_; }

private:
    struct Node {
        std::string path;
        engine::core::FileState identity;  // the folder first opened there
        std::optional<engine::core::Folder> folder;  // empty while let go
        int pins = 0;
        std::list<Node*>::iterator inLru;  // valid while open and not pinned
    };
    Node& nodeAt(std::string_view path);
    const engine::core::Folder& folderOf(Node& node);
    void reopen(Node& node);
    void makeRoom();
    void opened(Node& node);

    const engine::core::Folder& top_;
    std::size_t maxOpen_;
    std::size_t openBelowTop_ = 0;
    std::map<std::string, Node, std::less<>> nodes_;  // a map: adding one moves none of the others
    std::vector<Node*> order_;                        // below the top, parents first
    std::list<Node*> lru_;                            // open, unpinned, least recently used first
};

}  // namespace VQ202::detail
