// SPDX-License-Identifier: GPL-3.0-or-later
// Restored plaintext on its way to the write-behind thread: pieces of one or many files' contents, each
// file's finish after its last piece. Small files ride many to one batch, so that the helper thread is
// woken once per batch, not once or twice per file.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/vq202/FolderFiles.h"

namespace VQ202::detail {

class WriteBatch {
public:
    WriteBatch();
    // `size` bytes of `file`'s content, after those added before.
    void add(RestoredFile& file, const unsigned char* data, std::size_t size);
    // `file` is complete once the pieces added so far are written.
    void finish(RestoredFile& file);
    // Enough to be worth a hand-over.
    bool full() const;
    bool empty() const { return steps_.empty(); }
    std::size_t bytes() const { return bytes_.size(); }
    // On the writing thread: every step in order. Throws engine::Error.
    void run() const;

private:
    struct Step {
        RestoredFile* file;
        std::size_t from;  // in bytes_
        std::size_t size;
        bool finish;
    };
    std::vector<unsigned char> bytes_;
    std::vector<Step> steps_;
};

}  // namespace VQ202::detail
