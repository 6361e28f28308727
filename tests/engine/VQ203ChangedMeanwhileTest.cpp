// Another program writes to the file while it is encrypted or decrypted in place: the replacement, made from
// what was read before, must not be renamed over that program's newer content.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

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

// Appends to the file the first time the work reports progress, as an editor saving it meanwhile would.
class AppendingBar : public engine::ProgressBar {
public:
    explicit AppendingBar(std::string path) : path_(std::move(path)) {}
    void setPosition(int percent) override {
        if (percent == 0 || appended_) return;
        appended_ = true;
        const int fd = ::open(path_.c_str(), O_WRONLY | O_APPEND);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "newer", 5), 5);
        ::close(fd);
    }

private:
    std::string path_;
    bool appended_ = false;
};

using Export = void (*)(const std::string&, const std::string&, engine::ProgressBar&, engine::Window&);

void expectLeftAsTheOtherProgramLeftIt(const std::string& path, Export work) {
    auto expected = testutil::readFile(path);
    expected.insert(expected.end(), {'n', 'e', 'w', 'e', 'r'});
    AppendingBar bar(path);
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
