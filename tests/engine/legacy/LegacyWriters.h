// SPDX-License-Identifier: GPL-3.0-or-later
// Writers of the older bases, for fixtures only: the program itself never writes these formats.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace legacytest {

using Bytes = std::vector<unsigned char>;

struct WriteOptions {
    std::uint32_t iterations = 1000;  // PBKDF2 bases; cheap on purpose
    unsigned scryptLog2N = 10;
    unsigned scryptR = 8;
    unsigned scryptP = 1;
    std::uint32_t chunkSize = 4096;  // 1.0.6
    unsigned log2ChunkSize = 12;     // 2.0.1.0
    // False writes the header as asked but skips the KDF (zero keys): for costs no reader should run.
    bool deriveKeys = true;
};

Bytes write104(const Bytes& plain, const std::string& key, const WriteOptions& options = {});
Bytes write105(const Bytes& plain, const std::string& key, const WriteOptions& options = {});
Bytes write106(const Bytes& plain, const std::string& key, const WriteOptions& options = {});
Bytes write2010(const Bytes& plain, const std::string& key, const WriteOptions& options = {});

}  // namespace legacytest
