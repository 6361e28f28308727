// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/IntHash.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <system_error>

namespace folders::detail {
namespace {

constexpr std::size_t kBlock = 128;
constexpr unsigned char kEndOfText = 0x1A;

// One byte's term, in extended precision: p is the block value of the refill that brought the byte in.
long double termOf(std::uint64_t p, unsigned b) {
    if (p > b) return std::log(static_cast<long double>(p - b));
    if (b > p) return std::log10(static_cast<long double>(b - p));
    return static_cast<long double>(p * p);
}

}  // namespace

std::string intHashTextOf(double sum) {
    // Six decimals, ties to even: the quotient by the double nearest to 10^-6, rounded, times it again.
    const long double step = 1e-6;
    const double rounded = static_cast<double>(std::nearbyint(static_cast<long double>(sum) / step) * step);

    // 15 significant digits; %g switches to exponent notation exactly from 10^15 on. Only the digits count,
    // so neither the locale's decimal separator nor the exponent's letter and sign matter.
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", rounded);
    std::int64_t v = 0;
    for (const char* c = text; *c; ++c)
        if (*c >= '0' && *c <= '9') v = v * 10 + (*c - '0');

    static constexpr char kHex[] = "0123456789abcdef";
    std::string hash;
    do {
        hash.push_back(kHex[v % 16]);
        v /= 16;
    } while (v >= 16);
    hash.push_back(kHex[v]);
    return hash;
}

}  // namespace folders::detail

void IntHash(const std::string& fileName, std::string& hash) {
    using namespace folders::detail;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName.c_str(), "rb"), &std::fclose);
    if (!file) throw std::system_error(errno, std::generic_category(), fileName);

    double sum = 0.0;
    unsigned char block[kBlock];
    std::uint64_t position = 0;  // the read position after the last refill
    bool ended = false;
    while (!ended) {
        const std::size_t got = std::fread(block, 1, kBlock, file.get());
        if (got == 0) {
            if (std::ferror(file.get())) throw std::system_error(errno, std::generic_category(), fileName);
            break;
        }
        position += got;
        const std::uint64_t p = position / kBlock;
        for (std::size_t i = 0; i < got; ++i) {
            if (block[i] == kEndOfText) {
                ended = true;
                break;
            }
            sum = static_cast<double>(static_cast<long double>(sum) + termOf(p, block[i]));
        }
    }
    hash = intHashTextOf(sum);
}
