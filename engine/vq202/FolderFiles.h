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
// is killed leaves nothing behind. It stays open, and locked, until the object goes.
class RestoredFile {
public:
    RestoredFile(const engine::core::Folder& folder, std::uint64_t size);
    RestoredFile(const RestoredFile&) = delete;
    RestoredFile& operator=(const RestoredFile&) = delete;

    void write(const unsigned char* data, std::size_t size);
    // Gives the file the entry's length, permissions (the caller masked them with the umask) and modification
    // time, all before it has a name; the caller makes it durable (one syncfs for many files).
    void finish(const Entry& entry);
    // Gives the file the name `target` in its folder unless something of that name exists (then false,
    // nothing changed).
    bool commitAs(const std::string& target) { return file_.nameAs(target); }
    // Puts the file in the place of `target` (the package that carried it).
    void commitReplacing(const std::string& target) { file_.nameReplacing(target); }
    // Takes back a commitAs when a later file of the same restore could not be committed.
    void withdraw() { file_.unname(); }
    // Lets go of a committed file's descriptor (a restore of many files cannot keep them all open).
    void close() { file_.close(); }
    int descriptor() const { return file_.descriptor(); }

private:
    engine::core::TemporaryFile file_;
    std::uint64_t written_ = 0;
};

}  // namespace VQ202::detail
