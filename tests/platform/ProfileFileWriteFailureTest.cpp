// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/ProfileFile.h"
#include "tests/platform/ProfileTestFiles.h"

using platform::ProfileFile;
using platform::WriteError;
using testutil::readText;
using testutil::writeText;

namespace {

constexpr const char* kOriginal = "[All]\nCount=2\n";

void expectWriteErrorFor(ProfileFile& file, const std::string& fullPath) {
    try {
        file.writeString("All", "Count", "3");
        FAIL() << "the write succeeded";
    } catch (const WriteError& error) {
        EXPECT_STREQ(error.what(), ("Unable to write to " + fullPath).c_str());
        EXPECT_EQ(error.path(), fullPath);
    }
}

TEST(ProfileFileWriteFailure, ReadOnlyFileThrowsWithItsFullPathAndStaysIntact) {
    testutil::TempDir dir;
    const std::string path = dir.file("data.adb");
    writeText(path, kOriginal);
    ::chmod(path.c_str(), 0444);  // no write bit: refused even for root
    ProfileFile file(path);
    expectWriteErrorFor(file, path);
    EXPECT_EQ(readText(path), kOriginal);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"data.adb"});
}

TEST(ProfileFileWriteFailure, DeletionInReadOnlyFileThrowsToo) {
    testutil::TempDir dir;
    const std::string path = dir.file("data.adb");
    writeText(path, kOriginal);
    ::chmod(path.c_str(), 0444);
    ProfileFile file(path);
    EXPECT_THROW(file.deleteKey("All", "Count"), WriteError);
    // The same failure as every other run-time error, so the standard report shows it alike.
    EXPECT_THROW(file.writeString("All", "Count", "3"), platform::RuntimeError);
    EXPECT_EQ(readText(path), kOriginal);
}

// Runs as an unprivileged user when the tests run as root, since root may write into any folder.
TEST(ProfileFileWriteFailure, ReadOnlyFolderThrowsAndLeavesTheOldFile) {
    testutil::TempDir dir;
    const std::string path = dir.file("data.adb");
    writeText(path, kOriginal);
    ::chmod(path.c_str(), 0666);
    ::chmod(dir.path().c_str(), 0555);
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(2);
            ProfileFile file(path);
            try {
                file.writeString("All", "Count", "3");
            } catch (const WriteError& error) {
                std::_Exit(error.what() == "Unable to write to " + path ? 0 : 3);
            }
            std::_Exit(1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(readText(path), kOriginal);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"data.adb"});
}

TEST(ProfileFileWriteFailure, UnwritablePlacesThrowWithTheAbsolutePath) {
    testutil::TempDir dir;
    // The folder does not exist.
    ProfileFile nowhere(dir.file("missing/data.adb"));
    expectWriteErrorFor(nowhere, dir.file("missing/data.adb"));

    // Something that exists but cannot be read must not be replaced by what little could be written.
    std::filesystem::create_directory(dir.file("data.adb"));
    ProfileFile folder(dir.file("data.adb"));
    expectWriteErrorFor(folder, dir.file("data.adb"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("data.adb")));

    // A relative path is reported as the full path.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    ProfileFile relative("missing/./data.adb");
    std::filesystem::current_path(previous);
    expectWriteErrorFor(relative, dir.file("missing/data.adb"));
}

}  // namespace
