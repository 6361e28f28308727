// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/vq202/WriteBatch.h"

#include "engine/vq202/Package.h"

namespace VQ202::detail {
namespace {

// Files per batch at most: a batch of empty files carries no bytes, yet each file costs system calls.
constexpr std::size_t kStepsPerBatch = 512;

}  // namespace

WriteBatch::WriteBatch() { bytes_.reserve(kWriteBlock + kPackageChunkSize); }

void WriteBatch::add(RestoredFile& file, const unsigned char* data, std::size_t size) {
    if (!steps_.empty() && steps_.back().file == &file && !steps_.back().finish) {
        steps_.back().size += size;
    } else {
        steps_.push_back(Step{&file, bytes_.size(), size, false});
    }
    bytes_.insert(bytes_.end(), data, data + size);
}

void WriteBatch::finish(RestoredFile& file) { steps_.push_back(Step{&file, 0, 0, true}); }

bool WriteBatch::full() const { return bytes_.size() >= kWriteBlock || steps_.size() >= kStepsPerBatch; }

void WriteBatch::run() const {
    for (const Step& step : steps_) {
        if (step.finish) step.file->finish();
        else step.file->write(bytes_.data() + step.from, step.size);
    }
}

}  // namespace VQ202::detail
