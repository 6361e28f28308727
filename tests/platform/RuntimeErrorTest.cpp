// SPDX-License-Identifier: GPL-3.0-or-later
#include <cerrno>

#include <gtest/gtest.h>

#include "platform/RuntimeError.h"
#include "tests/engine/TempDir.h"

namespace {

std::string textOf(const std::exception& e) { return e.what(); }

TEST(RuntimeError, TextsOfFileErrors) {
    EXPECT_EQ(textOf(platform::fileError(ENOENT)), "File not found");
    EXPECT_EQ(textOf(platform::fileError(EACCES)), "File access denied");
    EXPECT_EQ(textOf(platform::fileError(EMFILE)), "Too many open files");
    EXPECT_EQ(textOf(platform::fileError(EIO)), "I/O error 5");
    EXPECT_EQ(textOf(platform::invalidInteger(QStringLiteral("Složka"))), "'Složka' is not a valid integer value");
    EXPECT_EQ(textOf(platform::unableToWrite(QStringLiteral("/x/data.adb"))), "Unable to write to /x/data.adb");
}

TEST(RuntimeError, FileLengthOpensAndMeasures) {
    testutil::TempDir dir;
    testutil::writeFile(dir.file("a"), testutil::randomBytes(300, 1));
    EXPECT_EQ(platform::fileLength(QString::fromStdString(dir.file("a"))), 300u);
    testutil::writeFile(dir.file("empty"), {});
    EXPECT_EQ(platform::fileLength(QString::fromStdString(dir.file("empty"))), 0u);
}

TEST(RuntimeError, FileLengthReportsWhatWentWrong) {
    testutil::TempDir dir;
    const auto failure = [](const QString& path) {
        try {
            platform::fileLength(path);
        } catch (const platform::RuntimeError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(failure(QString::fromStdString(dir.file("missing"))), "File not found");
    EXPECT_EQ(failure(QString()), "File not found");
    EXPECT_EQ(failure(QString::fromStdString(dir.file("missing/inside"))), "File not found");
    EXPECT_EQ(failure(QString::fromStdString(dir.path())), "File access denied");
}

TEST(RuntimeError, StrToIntTakesWhatALabelHolds) {
    EXPECT_EQ(platform::strToInt(QStringLiteral("2")), 2);
    EXPECT_EQ(platform::strToInt(QStringLiteral("  -17")), -17);
    EXPECT_EQ(platform::strToInt(QStringLiteral("2147483647")), 2147483647);
    for (const char* bad : {"...", "Složka", "", "12 ", "2147483648", "1e3", "0x10"}) {
        try {
            platform::strToInt(QString::fromUtf8(bad));
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const platform::RuntimeError& e) {
            EXPECT_EQ(textOf(e), "'" + std::string(bad) + "' is not a valid integer value");
        }
    }
}

}  // namespace
