// SPDX-License-Identifier: GPL-3.0-or-later
// The folder library's file-system steps that the single-file core does not need: looking at names without
// following links, and restored files that wait unnamed until the package has authenticated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/core/FileState.h"
#include "engine/core/TemporaryFile.h"
#include "engine/vq202/PackageIndex.h"

namespace VQ202::detail {

// Runs work(0) .. work(count - 1) on a few threads. For many small file-system calls (removing a thousand
// files) that each wait for the journal: their waits then overlap. `work` must not throw.
void inParallel(std::size_t count, const std::function<void(std::size_t)>& work);

// A file being restored: unnamed (core/TemporaryFile.h) until it is given its name, so that a restore that
// is killed leaves nothing behind. It is created by its first write or its finish (on the thread that
// writes), already with the entry's permissions, and stays open until close().
class RestoredFile {
public:
    // `entry` gives the size, the permissions (the caller masked them with the umask) and the time.
    RestoredFile(const engine::core::Folder& folder, const Entry& entry);
    RestoredFile(const RestoredFile&) = delete;
    RestoredFile& operator=(const RestoredFile&) = delete;

    void write(const unsigned char* data, std::size_t size);
    // Gives the complete file its modification time (and its permissions, where the system did not give it
    // those when it was made), all before it has a name; the caller makes it durable (one syncfs for many).
    void finish();
    // Gives the file the name `target` in its folder unless something of that name exists (then false,
    // nothing changed).
    bool commitAs(const std::string& target) { return opened().nameAs(target); }
    // Puts the file in the place of `target` (the package that carried it).
    void commitReplacing(const std::string& target) { opened().nameReplacing(target); }
    // Takes back a commitAs when a later file of the same restore could not be committed.
    void withdraw() {
        if (file_) file_->unname();
    }
    // Lets go of a committed file's descriptor (a restore of many files cannot keep them all open).
    void close() {
        if (file_) file_->close();
    }
    // Which file it is, once made.
    const engine::core::FileState& identity() const { return identity_; }

private:
    engine::core::TemporaryFile& opened();

    const engine::core::Folder& folder_;
    std::uint64_t size_;
    std::uint32_t mode_;
    engine::core::FileTime modified_;
    std::optional<engine::core::TemporaryFile> file_;
    engine::core::FileState identity_;
    bool hasItsMode_ = false;
    std::uint64_t written_ = 0;
};

}  // namespace VQ202::detail
