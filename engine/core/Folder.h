// SPDX-License-Identifier: GPL-3.0-or-later
// The folder an operation works in, opened once. Every name the operation reads, creates, replaces or removes
// is taken relative to this descriptor, so that another user who may rename entries of the folder's parent
// cannot move the operation elsewhere halfway through by putting a link (or another folder) in its place.
// The descriptor keeps working on the folder itself wherever it is moved; what is checked right before a
// name is given or taken away is that the folder is still where the user chose it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/FileState.h"

namespace engine::core {

class Folder {
public:
    // Opens the folder `path` (its links resolved first, as the user's choice) without following a link in its
    // place, and checks that what was opened is the folder at that path. Throws engine::Error.
    explicit Folder(const std::string& path);
    // The subfolder `name` of `parent`, opened relative to it (a link in its place is not followed, so a tree
    // is walked and restored inside the folder the user chose). Throws engine::Error.
    static Folder subfolder(const Folder& parent, const std::string& name);
    // Makes the subfolder `name` (mode 0700: nobody else's until the caller gives it its own mode) and opens
    // it; throws engine::Error when the name is taken or cannot be made.
    static Folder newSubfolder(const Folder& parent, const std::string& name);
    ~Folder();
    Folder(Folder&& other) noexcept;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    Folder& operator=(Folder&&) = delete;

    int descriptor() const { return fd_; }
    const std::string& path() const { return path_; }  // resolved; for messages and per-file state only
    std::string pathOf(const std::string& name) const;

    // The entry `name` itself (a link is not followed); nothing when the name is free.
    std::optional<FileState> entry(const std::string& name) const;
    // Throws engine::Error (the folder moved meanwhile) unless the folder is still at its path: checked right
    // before every step that gives or takes a name, so that nothing is committed where the user did not look.
    void requireStillInPlace() const;
    // Removes `name` only if it is still the file `expected` (the same file) right before; false when it
    // is not or cannot be removed.
    bool removeIfStill(const std::string& name, const FileState& expected) const;
    // The same for an empty subfolder; false also when it is not empty.
    bool removeFolderIfStill(const std::string& name, const FileState& expected) const;
    // The names of the folder's entries, "." and ".." left out; throws engine::Error when it cannot be read.
    std::vector<std::string> names() const;
    // Gives the folder itself permission bits and a modification time (a restored tree's folders); false
    // when the system refuses.
    bool setModeAndTime(std::uint32_t mode, std::int64_t seconds, std::uint32_t nanoseconds) const;
    // Makes the names created, renamed or removed here durable: fsync of the folder, or where it could be
    // opened only for lookups (a folder one may write but not read) syncfs through `anyDescriptorOnItsFileSystem`.
    bool sync(int anyDescriptorOnItsFileSystem) const;
    // Free bytes for an unprivileged writer, once abandoned results being freed have given theirs back
    // (Background.h); nothing when the file system cannot be asked.
    std::optional<std::uint64_t> freeSpace() const;
    // A new descriptor of the folder for reading its entries (the caller closes it); -1 when it may not be read.
    int openForListing() const;

private:
    Folder(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    std::string path_;
    int fd_ = -1;
};

}  // namespace engine::core
