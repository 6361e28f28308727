// SPDX-License-Identifier: GPL-3.0-or-later
// IntHash: the worked examples, each branch of the byte term, where reading stops, and the text steps.
#include <gtest/gtest.h>

#include <system_error>

#include "folders/IntHash.h"
#include "tests/engine/TempDir.h"

using testutil::TempDir;

namespace {

std::string intHashOf(const std::string& content) {
    TempDir dir;
    testutil::writeFile(dir.file("f"), {content.begin(), content.end()});
    std::string hash = "unchanged";
    IntHash(dir.file("f"), hash);
    return hash;
}

}  // namespace

TEST(IntHash, WorkedExamples) {
    EXPECT_EQ(intHashOf("abc"), "1862b5");
    EXPECT_EQ(intHashOf(""), "00");
    EXPECT_EQ(intHashOf("\x1a" "abc"), "00");
    // One literal (a string built with + here trips a false array-bounds warning of gcc 12).
    EXPECT_EQ(intHashOf(std::string("abc\x1a" "more text after the end mark")), "1862b5");
}

TEST(IntHash, BlockValueCountsOnlyWholeBlocksInsideTheFile) {
    // 128 bytes or more: the first bytes have p = 1, so the same start gives another text.
    std::string full = "abc\x1a";
    for (int i = 0; i < 124; ++i) full.push_back(static_cast<char>(i));
    EXPECT_EQ(intHashOf(full), "d42fa5");
    // b = p adds p*p (128 times 1), b < p adds ln(1) = 0: the sum is 128, hexadecimal 80.
    EXPECT_EQ(intHashOf(std::string(256, '\x01')), "08");
    // 240 bytes: the short last block has p = floor(240 / 128) = 1 as the first one; CR and LF are bytes.
    std::string lines;
    for (int i = 0; i < 20; ++i) lines += "line\r\nline\r\n";
    EXPECT_EQ(intHashOf(lines), "7071f181");
}

TEST(IntHash, ManyBlocksOfEveryByteValue) {
    // 70000 bytes: block values up to 546, so all three kinds of term occur many times.
    std::string data;
    for (int i = 0; i < 70000; ++i) {
        const int byte = (i * 37 + 11) % 256;
        data.push_back(static_cast<char>(byte == 0x1a ? 0x1b : byte));
    }
    EXPECT_EQ(intHashOf(data), "26fe95a08c2");
}

TEST(IntHash, TextStepsFromTheSum) {
    using folders::detail::intHashTextOf;
    EXPECT_EQ(intHashTextOf(5.9736330041), "1862b5");
    EXPECT_EQ(intHashTextOf(0.0), "00");
    EXPECT_EQ(intHashTextOf(5.0), "50");
    EXPECT_EQ(intHashTextOf(255.0), "ff");
    EXPECT_EQ(intHashTextOf(256.0), "001");
    EXPECT_EQ(intHashTextOf(419.0), "3a1");
    EXPECT_EQ(intHashTextOf(0.0000004), "00");   // rounds to 0
    EXPECT_EQ(intHashTextOf(1.0000006), "1424f");  // 1.000001 -> 1000001 = 0xf4241
    // From 10^15 on the text is in exponent notation and the exponent's digits count: 1e+15 -> 115.
    EXPECT_EQ(intHashTextOf(1e15), "37");
    EXPECT_EQ(intHashTextOf(1234567890123456.0), "7bb4b6d545cdb2");  // 1.23456789012346e+15
}

TEST(IntHash, UnreadableFileRaisesAndLeavesTheTextAlone) {
    std::string hash = "before";
    EXPECT_THROW(IntHash("/nonexistent/file", hash), std::system_error);
    EXPECT_EQ(hash, "before");
    TempDir dir;
    EXPECT_THROW(IntHash(dir.path(), hash), std::system_error);  // a folder reads as an error
    EXPECT_EQ(hash, "before");
}
