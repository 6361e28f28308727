// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/ChunkedFile.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <future>
#include <memory>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/ChunkCipher.h"
#include "engine/core/Header.h"
#include "engine/core/Layout.h"
#include "engine/core/Messages.h"
#include "engine/core/WorkerPool.h"

namespace engine::core {
namespace {

constexpr std::size_t kBatchBytes = 4u << 20;

// Chunk i takes input bytes [i * inStride, ...) and gives output bytes [i * outStride, ...); only the last
// chunk may be shorter.
struct Geometry {
    std::uint64_t count;
    std::size_t inStride;
    std::size_t outStride;
    std::uint64_t inTotal;
    std::uint64_t outTotal;
};

// Transforms one chunk; false when it does not authenticate.
using ChunkFn = bool (*)(ChunkCipher&, std::uint64_t index, bool last, const unsigned char* in, std::size_t inSize,
                         unsigned char* out);

bool sealOne(ChunkCipher& cipher, std::uint64_t index, bool last, const unsigned char* in, std::size_t size,
             unsigned char* out) {
    try {
        cipher.seal(index, last, in, size, out);
        return true;
    } catch (const Error&) {
        return false;  // runs on a worker thread: reported by the pipeline
    }
}

bool openOne(ChunkCipher& cipher, std::uint64_t index, bool last, const unsigned char* in, std::size_t size,
             unsigned char* out) {
    return cipher.open(index, last, in, size, out);
}

void runPipeline(const BodyJob& job, const Geometry& g, ChunkFn transform, const char* failure) {
    const unsigned workers = std::max(1u, job.workers);
    const std::uint64_t perBatch = std::max<std::uint64_t>({1, kBatchBytes / g.inStride, 2 * std::uint64_t{workers}});
    const std::uint64_t batches = (g.count + perBatch - 1) / perBatch;
    std::vector<unsigned char> inBuf[2];
    std::vector<unsigned char> outBuf[2];
    for (auto& b : inBuf) b.resize(std::min<std::uint64_t>(perBatch * g.inStride, std::max<std::uint64_t>(g.inTotal, 1)));
    for (auto& b : outBuf) b.resize(std::min<std::uint64_t>(perBatch * g.outStride, g.outTotal) + 1);
    std::vector<std::unique_ptr<ChunkCipher>> ciphers;
    for (unsigned w = 0; w < workers; ++w) ciphers.push_back(std::make_unique<ChunkCipher>(job.key, job.aad));
    WorkerPool pool(workers - 1);

    auto inBytesOf = [&](std::uint64_t batch) {
        const std::uint64_t start = batch * perBatch * g.inStride;
        return std::min<std::uint64_t>(perBatch * g.inStride, g.inTotal - start);
    };
    auto outBytesOf = [&](std::uint64_t batch) {
        const std::uint64_t start = batch * perBatch * g.outStride;
        return std::min<std::uint64_t>(perBatch * g.outStride, g.outTotal - start);
    };
    const std::uint64_t fromFile = g.inTotal - job.tail.size();
    auto readBatch = [&](std::uint64_t batch) {
        const std::uint64_t start = batch * perBatch * g.inStride;
        const std::uint64_t size = inBytesOf(batch);
        unsigned char* into = inBuf[batch % 2].data();
        const std::uint64_t fileBytes = start < fromFile ? std::min(size, fromFile - start) : 0;
        // A file that shrinks while we read it is not what we authenticated or sealed.
        if (fileBytes > 0 && !job.in.readExactAt(into, fileBytes, job.inOffset + start)) throw Error(msg::kCannotRead);
        if (fileBytes < size) std::memcpy(into + fileBytes, job.tail.data() + (start + fileBytes - fromFile), size - fileBytes);
    };
    auto writeBatch = [&](std::uint64_t batch) {
        const std::uint64_t at = job.outOffset + batch * perBatch * g.outStride;
        job.out.writeAt(outBuf[batch % 2].data(), outBytesOf(batch), at);
        if (job.outputDigest) job.outputDigest->writtenUpTo(at + outBytesOf(batch));
    };

    std::future<void> reading = std::async(std::launch::async, readBatch, 0);
    std::future<void> writing;
    for (std::uint64_t batch = 0; batch < batches; ++batch) {
        reading.get();
        if (batch + 1 < batches) reading = std::async(std::launch::async, readBatch, batch + 1);

        const std::uint64_t first = batch * perBatch;
        const std::uint64_t end = std::min(first + perBatch, g.count);
        std::atomic<bool> failed{false};
        pool.run(end - first, [&](unsigned worker, std::uint64_t offsetInBatch) {
            if (failed) return;
            const std::uint64_t i = first + offsetInBatch;
            const std::uint64_t inStart = i * g.inStride;
            const std::size_t inSize = static_cast<std::size_t>(std::min<std::uint64_t>(g.inStride, g.inTotal - inStart));
            const unsigned char* in = inBuf[batch % 2].data() + offsetInBatch * g.inStride;
            unsigned char* out = outBuf[batch % 2].data() + offsetInBatch * g.outStride;
            if (!transform(*ciphers[worker], i, i + 1 == g.count, in, inSize, out)) failed = true;
        });
        if (failed) throw Error(failure);

        if (writing.valid()) writing.get();
        writing = std::async(std::launch::async, writeBatch, batch);
        job.progress.advanceTo(std::min(end * g.inStride, g.inTotal));
    }
    if (writing.valid()) writing.get();
}

}  // namespace

std::uint64_t sealBody(const BodyJob& job, std::uint64_t plainSize) {
    const ChunkLayout layout{job.chunkSize};
    const std::uint64_t sealed = layout.sealedSize(plainSize);
    runPipeline(job, Geometry{layout.chunkCount(plainSize), job.chunkSize, job.chunkSize + kTagSize, plainSize, sealed},
                sealOne, msg::kCryptoFailure);
    return sealed;
}

std::uint64_t openBody(const BodyJob& job, std::uint64_t sealedSize) {
    const ChunkLayout layout{job.chunkSize};
    const auto plain = layout.plainSizeOf(sealedSize);
    if (!plain) throw Error(msg::kDamaged);
    runPipeline(job, Geometry{layout.chunkCount(*plain), job.chunkSize + kTagSize, job.chunkSize, sealedSize, *plain},
                openOne, msg::kDamaged);
    return *plain;
}

}  // namespace engine::core
