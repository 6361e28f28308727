// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a user's file and replacing it in place without ever leaving it half written: the result goes
// to a temporary file beside the original, gets the original's owner and permissions, is fsynced, renamed
// over the original and the folder is made durable. Until the rename the original is untouched. Everything
// is done relative to the file's Folder, opened once; the file itself is opened without following a link.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/core/FileState.h"
#include "engine/core/Folder.h"
#include "engine/core/TemporaryFile.h"

namespace engine::core {

// Follows symbolic links to the file they name; throws engine::Error unless that is an existing regular file.
std::string resolveRegularFile(const std::string& path);

// The user's file as an operation that writes works on it: the link the user named followed once, the
// folder it lies in opened once, and its name there.
struct PlacedFile {
    Folder folder;
    std::string name;
    std::string path;  // resolved: the key of what is kept per file between calls (flags, prepared keys)
};
PlacedFile placeRegularFile(const std::string& path);

class InputFile {
public:
    explicit InputFile(const std::string& path);  // path as resolveRegularFile returns it
    // The entry `name` of `folder`, which must be a regular file itself (a link there is refused).
    InputFile(const Folder& folder, const std::string& name);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    std::uint64_t size() const { return size_; }
    // Reads up to `count` bytes at `offset`; fewer only at the end of the file.
    std::size_t readAt(void* buffer, std::size_t count, std::uint64_t offset) const;
    // Reads exactly `count` bytes at `offset`; false when the file ends first.
    bool readExactAt(void* buffer, std::size_t count, std::uint64_t offset) const;
    int descriptor() const { return fd_; }
    const FileState& state() const { return opened_; }  // as it was when opened
    // Whether `name` in `folder` still is this file and nobody has written to it since it was opened.
    bool unchangedIn(const Folder& folder, const std::string& name) const;

private:
    void takeOpened(int fd);
    int fd_ = -1;
    std::uint64_t size_ = 0;
    FileState opened_;
};

// A file opened for changing in place (the file flag, one-way overwriting); closed when it goes out of scope.
class OpenFile {
public:
    enum class Access { Read, ReadWrite };
    // The entry `name` of `folder`, a regular file itself (a link there is refused); throws engine::Error:
    // missing, or no rights for `access`.
    OpenFile(const Folder& folder, const std::string& name, Access access);
    ~OpenFile();
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int descriptor() const { return fd_; }
    std::uint64_t size() const;

private:
    int fd_ = -1;
};

// The result of an in-place operation, written beside the file it replaces (TemporaryFile.h: unnamed while
// it is written, locked until after its rename) and put in the file's place in one step.
class ReplacementFile {
public:
    // Refuses (engine::Error, nothing created) a target with other hard links, which would keep showing the
    // old content, and a result of `expectedSize` bytes that does not fit. Temporary files that killed
    // processes left in the folder are removed first. `folder` must outlive the object.
    ReplacementFile(const Folder& folder, const std::string& name, std::uint64_t expectedSize);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    void writeAt(const void* data, std::size_t count, std::uint64_t offset) { temp_.writeAt(data, count, offset); }
    int descriptor() const { return temp_.descriptor(); }
    // Sets the final length, gives it the original's owner, permissions and extended attributes, fsyncs it,
    // renames it over the original and makes the folder durable. Where the name was free the result takes
    // it only if it is still free. Refused (engine::Error, nothing renamed) when the folder has moved or the
    // original was replaced by another file meanwhile.
    void commit(std::uint64_t finalSize);
    // The same for a result made from `original`: refused when the target is no longer that file as it was
    // read, so that another program's newer content is never replaced.
    void commit(std::uint64_t finalSize, const InputFile& original);
    // The same with a check of the caller's that runs right before the rename and throws to refuse it.
    void commit(std::uint64_t finalSize, const std::function<void()>& beforeRename);
    // The result as it stands under the target's name right after the commit.
    const FileState& committedState() const { return committed_; }

private:
    const Folder& folder_;
    std::string name_;
    TemporaryFile temp_;
    FileState committed_;
};

// The folder part and the last part of a path ("/a/b" -> "/a", "b"); "." for a bare name.
std::string folderOf(const std::string& path);
std::string baseNameOf(const std::string& path);

// The process's file mode creation mask, read without changing it (other threads may be creating files).
std::uint32_t processUmask();

// Throws the engine::Error that fits an errno of a failed write (full disk, no rights, other).
[[noreturn]] void throwWriteError(int error);

}  // namespace engine::core
