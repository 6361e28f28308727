// The folder library's file-system steps that the single-file core does not need: looking at names without
// following links, renaming without ever replacing, and restored files that wait in a temporary name until
// the whole package has authenticated.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "engine/vq202/PackageIndex.h"

namespace VQ202::detail {

std::string joinPath(const std::string& folder, const std::string& name);

// Runs work(0) .. work(count - 1) on a few threads. For many small file-system calls (removing a thousand
// files) that each wait for the journal: their waits then overlap. `work` must not throw.
void inParallel(std::size_t count, const std::function<void(std::size_t)>& work);

// lstat: the entry itself, also when it is a symbolic link; nothing when the name is free.
std::optional<struct stat> entryAt(const std::string& path);

bool sameFile(const struct stat& a, const struct stat& b);
// Same file, same size, same modification time: nobody wrote to it in between.
bool unchangedSince(const struct stat& before, const struct stat& now);

// Free bytes for an unprivileged writer; nothing when the folder cannot be asked.
std::optional<std::uint64_t> freeSpaceIn(const std::string& folder);

// The folder, held open from before the first write: one syncfs makes every file written into it since
// durable at once (one journal commit instead of one per file) and reports any write-back error since.
class OpenFolder {
public:
    explicit OpenFolder(const std::string& folder);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    void syncEverythingWritten();
    void fsync();  // the folder's own entries: names created, renamed, removed

private:
    int fd_ = -1;
};

// A file being restored: a hidden temporary name in the target folder (mode 0600) until commit.
class RestoredFile {
public:
    RestoredFile(const std::string& folder, std::uint64_t size);
    ~RestoredFile();  // removes the temporary file unless committed
    RestoredFile(const RestoredFile&) = delete;
    RestoredFile& operator=(const RestoredFile&) = delete;

    void write(const unsigned char* data, std::size_t size);
    // Gives the file the entry's permissions and modification time and closes it; OpenFolder makes it durable.
    void finish(const Entry& entry);
    // Renames the file to `target` unless something of that name exists (then false, nothing changed).
    bool commitAs(const std::string& target);
    // Renames the file over `target` (the package that carried it).
    void commitReplacing(const std::string& target);
    // Takes back a commitAs when a later file of the same restore could not be committed.
    void withdraw();
    const std::string& committedPath() const { return target_; }

private:
    std::string temp_;
    std::string target_;
    int fd_ = -1;
    std::uint64_t written_ = 0;
    std::uint64_t writebackFrom_ = 0;
};

}  // namespace VQ202::detail
