// SPDX-License-Identifier: GPL-3.0-or-later
// desifrovatelnost: tells from the header and the length alone what a file is. Never throws.
#include <array>

#include "engine/VQ203.h"
#include "engine/core/FileIO.h"
#include "engine/core/Header.h"
#include "engine/core/Layout.h"
#include "engine/vq203/Method.h"

namespace VQ203 {
namespace {

using namespace engine::core;

int olderBaseKind(const unsigned char* data, std::size_t size) {
    if (startsWith(data, size, kMagicBase104)) return Base104;
    if (startsWith(data, size, kMagicBase105)) return Base105;
    if (startsWith(data, size, kMagicBase106)) return Base106;
    if (startsWith(data, size, kMagicBase2010)) return Base2010;
    return NotEncrypted;
}

}  // namespace

int desifrovatelnost(const std::string& path) {
    try {
        InputFile in(resolveRegularFile(path));
        std::array<unsigned char, kHeaderSize> head{};
        const std::size_t got = in.readAt(head.data(), head.size(), 0);
        if (const int older = olderBaseKind(head.data(), got); older != NotEncrypted) return older;
        Header header;
        if (parseHeader(head.data(), got, {kMagicNormal, kMagicFast, kMagicNormalV1, kMagicFastV1}, header) !=
            HeaderStatus::Ok)
            return NotEncrypted;
        if (!ChunkLayout{header.chunkSize}.plainSizeOf(in.size() - kHeaderSize)) return NotEncrypted;
        return detail::isFast(header.magic) ? Fast : Normal;
    } catch (...) {
        return -1;  // missing, unreadable or not a regular file
    }
}

}  // namespace VQ203
