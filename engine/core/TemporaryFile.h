// SPDX-License-Identifier: GPL-3.0-or-later
// The one place where the engine creates files that are not yet the user's: a result being written beside
// the file it will replace, a package being written, files being restored from a package.
//
// Rules kept here, for every caller:
// - Nothing reachable by name while it is written: the file is made with O_TMPFILE and gets a name only
//   when it is complete and durable. A crash at any moment before that leaves nothing on disk.
// - Where the file system has no O_TMPFILE, the file has a hidden name (".<name>.mvxtmp-XXXXXX", mode 0600 until just before its final name)
//   and holds a lock for as long as it lives; sweepAbandonedTemporaries removes the ones nobody holds.
// - The lock is held until the object is destroyed, that is until after the file has its final name. An
//   unnamed file takes it only when it gets a hidden name (before a rename): until then no sweep can see it.
// - Space is checked and reserved before any work, write-back is started behind the writer, and the folder
//   is made durable after every naming (fsync, or syncfs where the folder cannot be opened).
// - Every name is made and taken relative to the operation's Folder, never through a path again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/core/Folder.h"
#include "engine/core/Sweep.h"  // what removes the fallback's names that nobody holds

namespace engine::core {

class TemporaryFile {
public:
    // `nameHint` is the name of the file this one will become (used only for the fallback's hidden name).
    // Throws engine::Error when `reserve` bytes do not fit or the folder cannot be written; with `reserve`
    // 0 nothing is reserved or checked (a caller that checked the space for many files at once). An
    // unnamed file is created with `unnamedMode` (nobody else can reach it meanwhile; the umask applies),
    // the fallback's hidden name always with 0600. `folder` must outlive the object.
    TemporaryFile(const Folder& folder, const std::string& nameHint, std::uint64_t reserve,
                  std::uint32_t unnamedMode = 0600);
    ~TemporaryFile();  // unlocks; an uncommitted hidden name is removed, a large unnamed file freed in the background
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int descriptor() const { return fd_; }
    // Writes are expected in ascending order (the write-back hint relies on it, correctness does not).
    void writeAt(const void* data, std::size_t count, std::uint64_t offset);
    // Sets the length and makes the content (and the inode's metadata) durable.
    void syncWithSize(std::uint64_t size);

    // Gives the file the name `target` in the folder unless something has that name already (then false,
    // nothing changed).
    bool nameAs(const std::string& target);
    // Puts the file in the place of `target` in the folder in one step (rename); the caller checked right
    // before that `target` is still what it means to replace.
    void nameReplacing(const std::string& target);
    // Takes back a nameAs: removes the name if it still names this file (also after close()).
    void unname();
    // Lets go of a named file (its descriptor and lock), for callers that name many files.
    void close();
    const std::string& finalName() const { return named_; }

private:
    std::string linkToHiddenName();
    void createNamed();

    const Folder& folder_;
    std::string nameHint_;
    std::string hidden_;  // the fallback's name, or the link made just before a rename
    std::string named_;   // the final name once given
    FileState identity_;
    int fd_ = -1;
    std::uint64_t writebackFrom_ = 0;
    std::uint64_t reserved_ = 0;
};

}  // namespace engine::core
