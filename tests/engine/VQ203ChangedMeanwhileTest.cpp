// SPDX-License-Identifier: GPL-3.0-or-later
// Another program writes to the file while it is encrypted or decrypted in place: the replacement, made from
// what was read before, must not be renamed over that program's newer content.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "engine/VQ203.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"
#include "tests/engine/Fakes.h"
#include "tests/engine/Refusal.h"
#include "tests/engine/TempDir.h"

using testutil::FakeWindow;
using testutil::TempDir;

namespace {

// Writes to the file the first time the work reports progress, as another program saving it meanwhile would:
// appending, or overwriting its start and putting the modification time back (as copying with times kept
// does), so that only the change time tells.
class EditingBar : public engine::ProgressBar {
public:
    enum class Edit { Append, OverwriteKeepingTime };
    EditingBar(std::string path, Edit edit) : path_(std::move(path)), edit_(edit) {}
    void setPosition(int percent) override {
        if (percent == 0 || edited_) return;
        edited_ = true;
        struct stat before {};
        ASSERT_EQ(::stat(path_.c_str(), &before), 0);
        const int fd = ::open(path_.c_str(), edit_ == Edit::Append ? O_WRONLY | O_APPEND : O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "newer", 5), 5);
        ::close(fd);
        if (edit_ == Edit::OverwriteKeepingTime) {
            const struct timespec times[2] = {before.st_atim, before.st_mtim};
            ASSERT_EQ(::utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
        }
    }

private:
    std::string path_;
    Edit edit_;
    bool edited_ = false;
};

using Export = void (*)(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&);

void expectLeftAsTheOtherProgramLeftIt(const std::string& path, Export work,
                                       EditingBar::Edit edit = EditingBar::Edit::Append) {
    auto expected = testutil::readFile(path);
    if (edit == EditingBar::Edit::Append) expected.insert(expected.end(), {'n', 'e', 'w', 'e', 'r'});
    else std::copy_n("newer", 5, expected.begin());
    EditingBar bar(path, edit);
    FakeWindow window;
    try {
        work(path, "k", bar, window);
        ADD_FAILURE() << "a file changed meanwhile was replaced";
    } catch (const engine::Error& error) {
        EXPECT_STREQ(error.what(), engine::msg::kChangedMeanwhile);
    }
    EXPECT_TRUE(testutil::readFile(path) == expected) << "the newer content was lost";
    EXPECT_FALSE(testutil::hasTemporaryFiles(std::filesystem::path(path).parent_path()));
}

}  // namespace

TEST(ChangedMeanwhile, EncryptionLeavesTheNewerContent) {
    engine::core::setScryptCostForTesting(10);
    TempDir dir;
    for (Export encrypt : {VQ203::sifrovat, VQ203::fastsifrovat}) {
        const auto path = dir.file("plain");
        testutil::writeFile(path, testutil::randomBytes(9u << 20, 5));  // several batches of the pipeline
        expectLeftAsTheOtherProgramLeftIt(path, encrypt);
        expectLeftAsTheOtherProgramLeftIt(path, encrypt, EditingBar::Edit::OverwriteKeepingTime);
    }
}

TEST(ChangedMeanwhile, DecryptionLeavesTheNewerContent) {
    engine::core::setScryptCostForTesting(10);
    TempDir dir;
    testutil::FakeBar bar;
    FakeWindow window;
    for (Export decrypt : {VQ203::desifrovat, VQ203::fastdesifrovat}) {
        const auto path = dir.file("sealed");
        testutil::writeFile(path, testutil::randomBytes(9u << 20, 6));
        VQ203::sifrovat(path, "k", bar, window);
        expectLeftAsTheOtherProgramLeftIt(path, decrypt);
    }
}
