// SPDX-License-Identifier: GPL-3.0-or-later
// The folders of a tree that a package takes or restores, each opened once relative to its parent (never
// through a path, never through a link), found by its path relative to the top folder.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Folder.h"

namespace VQ202::detail {

class FolderTree {
public:
    explicit FolderTree(const engine::core::Folder& top) : top_(top) { byPath_.emplace("", &top); }
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;

    const engine::core::Folder& top() const { return top_; }
    // The folder at `path` ("" for the top) if it was opened; nullptr otherwise.
    const engine::core::Folder* find(std::string_view path) const;
    // Opens the existing folder at `path`, or with `create` makes it first; its parent must be open.
    // Throws engine::Error.
    const engine::core::Folder& open(const std::string& path, bool create = false);
    // Every open folder, the top first, each after its parent.
    const std::vector<const engine::core::Folder*>& all() const { return order_; }
    std::size_t size() const { return order_.size(); }

private:
    const engine::core::Folder& top_;
    std::deque<engine::core::Folder> opened_;  // a deque: adding one moves none of the others
    std::map<std::string, const engine::core::Folder*, std::less<>> byPath_;
    std::vector<const engine::core::Folder*> order_{&top_};
};

}  // namespace VQ202::detail
