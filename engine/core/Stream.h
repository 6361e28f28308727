// SPDX-License-Identifier: GPL-3.0-or-later
// Streaming AEAD of a plaintext of unknown length, chunk by chunk, for callers that produce or consume
// pieces (a package of many files). The single-file exports use ChunkedFile.h, which knows the length
// up front and works on many cores.
//
// The pieces a container built on this core uses (each documented in its header):
//   Header.h      newHeader(magic, chunkSize), Header::serialize(), parseHeader(bytes, size, {magic}, out)
//                 -- parseHeader bounds the KDF cost before anything is allocated
//   Keys.h        deriveFileKeys(password, header) (or passwordKey once + fileKeys(master, header) per stream),
//                 sealHeader(header, keys), headerMacMatches(header, keys) -- the key check
//   Stream.h      StreamSealer / StreamOpener below
//   FileIO.h      resolveRegularFile(path), InputFile, ReplacementFile (temporary file, fsync, rename)
//   Progress.h    Progress(bar, total).advanceTo(done)
//   Messages.h    the Czech texts of engine::Error
//   TestHooks.h   setScryptCostForTesting(log2N) for tests
//
// Usage (sealing):
//   Header h = newHeader(kMagicNormal, kDefaultChunkSize);
//   FileKeys k = deriveFileKeys(password, h); sealHeader(h, k);
//   auto bytes = h.serialize(); sink(bytes.data(), bytes.size());
//   StreamSealer s(k.stream, bytes, h.chunkSize, sink); s.write(p, n) ...; s.finish();
// Usage (opening), after parseHeader and headerMacMatches:
//   StreamOpener o(k.stream, bytes, h.chunkSize, plainSink); o.write(c, n) ...; o.finish();
//
// The opener hands out the plaintext of each chunk once that chunk has authenticated, but whether the
// stream is complete (not cut short, nothing appended) is known only when finish() returns: write the
// plaintext somewhere temporary and keep it only then.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "engine/core/ChunkCipher.h"

namespace engine::core {


using ByteSink = std::function<void(const unsigned char* data, std::size_t size)>;

class StreamSealer {
public:
    // `aad` (usually the serialized header) must outlive the sealer.
    StreamSealer(const SecretKey& key, std::span<const unsigned char> aad, std::uint32_t chunkSize, ByteSink sink);
    void write(const unsigned char* data, std::size_t size);
    // Seals what is buffered as the last chunk (an empty one when nothing was written at all).
    void finish();

private:
    void emit(bool last);
    void seal(const unsigned char* plain, std::size_t size, bool last);
    ChunkCipher cipher_;
    std::uint32_t chunkSize_;
    ByteSink sink_;
    std::vector<unsigned char> pending_;
    std::vector<unsigned char> sealed_;
    std::uint64_t index_ = 0;
    bool finished_ = false;
};

class StreamOpener {
public:
    StreamOpener(const SecretKey& key, std::span<const unsigned char> aad, std::uint32_t chunkSize, ByteSink sink);
    // Throws engine::Error(kDamaged) as soon as a complete chunk fails to authenticate.
    void write(const unsigned char* data, std::size_t size);
    // Opens the rest as the last chunk; throws engine::Error(kDamaged) when the stream was cut or extended.
    void finish();

private:
    void openChunk(std::size_t size, bool last);
    void open(const unsigned char* sealed, std::size_t size, bool last);
    ChunkCipher cipher_;
    std::uint32_t chunkSize_;
    ByteSink sink_;
    std::vector<unsigned char> pending_;
    std::vector<unsigned char> plain_;
    std::uint64_t index_ = 0;
};

}  // namespace engine::core
