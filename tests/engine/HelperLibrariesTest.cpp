// SPDX-License-Identifier: GPL-3.0-or-later
// Fingerprints, user codes and generated keys.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "engine/Roster.h"
#include "engine/Tumbler.h"
#include "engine/VQ201.h"
#include "engine/core/Messages.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/TempDir.h"

using testutil::FakeField;

TEST(Fingerprint, IsTheSha256OfTheContent) {
    testutil::TempDir dir;
    const auto path = dir.file("f");
    FakeField field;
    testutil::writeFile(path, {});
    VQ201::hash(path, field);
    EXPECT_EQ(field.text(), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    testutil::writeFile(path, {'a', 'b', 'c'});
    VQ201::hash(path, field);
    EXPECT_EQ(field.text(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

// ... and the bar it is given moves with the bytes read, under the step's name.
TEST(Fingerprint, OfAFileBiggerThanOneReadMatchesSha256sum) {
    testutil::TempDir dir;
    const auto path = dir.file("big");
    constexpr std::uint64_t kSize = (3 << 20) + 17;
    testutil::writeFile(path, testutil::randomBytes(kSize, 11));
    FakeField field;
    testutil::FakeBar bar;
    VQ201::hash(path, field, bar);
    EXPECT_EQ(bar.steps, std::vector<std::string>{engine::msg::kStepFingerprint});
    EXPECT_EQ(bar.positions, (std::vector<int>{0, 33, 66, 99, 100}));
    EXPECT_EQ(bar.bytes, (std::vector<std::uint64_t>{1 << 20, 2 << 20, 3 << 20, kSize}));
    std::FILE* pipe = ::popen(("sha256sum '" + path + "'").c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char line[65] = {};
    ASSERT_EQ(std::fread(line, 1, 64, pipe), 64u);
    ::pclose(pipe);
    EXPECT_EQ(field.text(), std::string(line, 64));
}

TEST(UserCode, IsDeterministicHexAndTellsUsersApart) {
    FakeField a, b, c;
    Roster::strtohex("jan#heslo", a);
    Roster::strtohex("jan#heslo", b);
    Roster::strtohex("jan#hesla", c);
    EXPECT_EQ(a.text(), b.text());
    EXPECT_NE(a.text(), c.text());
    EXPECT_EQ(a.text().size(), 64u);
    EXPECT_EQ(a.text().find_first_not_of("0123456789abcdef"), std::string::npos);
    // One-way: the password's own hexadecimal is nowhere in the code.
    EXPECT_EQ(a.text().find("6865736c6f"), std::string::npos);
    FakeField czech;
    Roster::strtohex("Žofie#čáp", czech);
    EXPECT_EQ(czech.text().size(), 64u);
}

TEST(GeneratedKey, IsTypeableLongEnoughAndNewEachTime) {
    FakeField first, second;
    Tumbler::key(1, first);
    Tumbler::key(1, second);
    EXPECT_NE(first.text(), second.text());
    EXPECT_EQ(first.changes, 1);
    std::size_t symbols = 0;
    for (const char c : first.text()) {
        if (c == '-') continue;
        ++symbols;
        EXPECT_NE(std::string("0123456789ABCDEFGHJKMNPQRSTVWXYZ").find(c), std::string::npos) << c;
    }
    EXPECT_GE(symbols * 5, 256u);
}

TEST(GeneratedKey, KeynbGivesExactlyTheBitsAsked) {
    for (const int bits : {1, 2, 3, 4, 5, 32, 33, 4096, 65536}) {
        SCOPED_TRACE(bits);
        FakeField field;
        std::set<char> leading;
        for (int i = 0; i < 64; ++i) {
            Tumbler::keynb(bits, field);
            const std::string& text = field.text();
            ASSERT_EQ(text.size(), static_cast<std::size_t>((bits + 3) / 4));
            ASSERT_EQ(text.find_first_not_of("0123456789abcdef"), std::string::npos);
            leading.insert(text[0]);
        }
        const int leadingBits = bits - 4 * ((bits + 3) / 4 - 1);
        for (const char c : leading) EXPECT_LT(std::stoi(std::string(1, c), nullptr, 16), 1 << leadingBits);
        if (leadingBits == 1) {
            EXPECT_EQ(leading, (std::set<char>{'0', '1'}));
        }
    }
}

TEST(GeneratedKey, KeynbRefusesSizesOutOfRangeAndLeavesTheField) {
    for (const int bits : {0, -1, 65537}) {
        FakeField field("keep");
        try {
            Tumbler::keynb(bits, field);
            ADD_FAILURE() << "no error for " << bits;
        } catch (const engine::Error& error) {
            EXPECT_STREQ(error.what(), engine::msg::kKeySizeOutOfRange);
        }
        EXPECT_EQ(field.text(), "keep");
        EXPECT_EQ(field.changes, 0);
    }
}
