// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/Content.h"

#include <array>
#include <cstring>
#include <string_view>

namespace crash {
namespace {

constexpr std::array<unsigned char, 8> kMarker{0xF1, 'p', 'l', 'a', 'i', 'n', 0x1F, 0xA5};
constexpr std::size_t kIdAt = 8, kIndexAt = 12, kFillerAt = 20;

std::uint64_t splitmix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

void putBigEndian(unsigned char* at, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) at[i] = static_cast<unsigned char>(value >> (8 * (bytes - 1 - i)));
}

std::uint64_t getBigEndian(const unsigned char* at, std::size_t bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) value = (value << 8) | at[i];
    return value;
}

std::array<unsigned char, kRecordSize> record(std::uint32_t fileId, std::uint64_t index) {
    std::array<unsigned char, kRecordSize> r{};
    std::memcpy(r.data(), kMarker.data(), kMarker.size());
    putBigEndian(r.data() + kIdAt, fileId, 4);
    putBigEndian(r.data() + kIndexAt, index, 8);
    std::uint64_t state = splitmix((std::uint64_t{fileId} << 40) ^ index);
    for (std::size_t at = kFillerAt; at < kRecordSize; ++at) {
        if ((at - kFillerAt) % 8 == 0) state = splitmix(state);
        r[at] = static_cast<unsigned char>(state >> (8 * ((at - kFillerAt) % 8)));
    }
    return r;
}

}  // namespace

std::vector<unsigned char> plaintextFor(std::uint32_t fileId, std::size_t size) {
    std::vector<unsigned char> data(size);
    for (std::size_t at = 0, index = 0; at < size; at += kRecordSize, ++index) {
        const auto r = record(fileId, index);
        std::memcpy(data.data() + at, r.data(), std::min(kRecordSize, size - at));
    }
    return data;
}

bool holdsPlaintext(const std::vector<unsigned char>& data) {
    const std::string_view all(reinterpret_cast<const char*>(data.data()), data.size());
    const std::string_view marker(reinterpret_cast<const char*>(kMarker.data()), kMarker.size());
    for (std::size_t at = all.find(marker); at != std::string_view::npos; at = all.find(marker, at + 1)) {
        if (data.size() - at < kRecordSize) break;
        const unsigned char* r = data.data() + at;
        const auto expected = record(static_cast<std::uint32_t>(getBigEndian(r + kIdAt, 4)), getBigEndian(r + kIndexAt, 8));
        if (std::memcmp(r, expected.data(), kRecordSize) == 0) return true;
    }
    return false;
}

}  // namespace crash
