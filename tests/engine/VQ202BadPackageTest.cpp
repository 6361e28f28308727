// SPDX-License-Identifier: GPL-3.0-or-later
// Packages desifrdir must refuse, and folders it must not harm: wrong keys, changed, cut and extended
// packages, hostile names, files in the way, full disks. Each time: the expected ErrorMsg, the folder exactly
// as before (package included), no temporary file left.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "engine/VQ203.h"
#include "engine/core/Layout.h"
#include "engine/core/TestHooks.h"
#include "engine/vq202/Messages.h"
#include "tests/engine/FolderFakes.h"
#include "tests/engine/PackageWriter.h"
#include "tests/engine/Refusal.h"
#include "tests/engine/TempDir.h"

using namespace testutil;
namespace msg = VQ202::msg;

namespace {

const std::string kKey = "správný klíč";
constexpr std::size_t kHeader = 112;  // fields, wrapped data key, MAC
constexpr std::size_t kStride = 65536 + 16;

class BadPackage : public ::testing::Test {
protected:
    void SetUp() override {
        engine::core::setScryptCostForTesting(10);
        writeFile(dir.file("malý"), randomBytes(100, 1));
        writeFile(dir.file("velký"), randomBytes(3 * 65536, 2));  // the package has four chunks
        ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
        sealed = readFile(package);
        ASSERT_EQ(sealed.size() % kStride, kHeader + (sealed.size() - kHeader) % kStride);
    }
    void expectRefused(const std::string& message, const std::string& key = kKey) {
        const FolderState before = snapshot(dir.path());
        EXPECT_EQ(decryptPackage(package, key), message);
        EXPECT_EQ(snapshot(dir.path()), before);
        EXPECT_FALSE(hasTemporaryFiles(dir.path()));
    }
    void expectRefusedWith(std::vector<unsigned char> bytes, const std::string& message) {
        writeFile(package, bytes);
        expectRefused(message);
    }

    TempDir dir;
    std::string package = dir.file("directory.cff");
    std::vector<unsigned char> sealed;
};

}  // namespace

TEST_F(BadPackage, WrongOrEmptyKeyIsToldApartFromDamage) {
    expectRefused(msg::kWrongKey, "spravny klic");
    expectRefused(msg::kWrongKey, "");
    EXPECT_STRNE(msg::kWrongKey, msg::kDamaged);
    EXPECT_EQ(decryptPackage(package, kKey), "");  // and the right key still opens it
}

TEST_F(BadPackage, EveryHeaderByteChangedIsRefused) {
    for (std::size_t i = 0; i < kHeader; ++i) {
        SCOPED_TRACE(i);
        auto bytes = sealed;
        bytes[i] ^= 0x01;
        std::string expected = msg::kWrongKey;  // cost, salts and MAC: the key check fails
        // The version byte 2 turns into 3, the tree version: its key check covers the magic and fails.
        if (i < 7) expected = msg::kNotAPackage;
        else if (i == 8 || i == 10 || i == 11 || i == 13) expected = msg::kDamaged;  // outside the format
        else if (i >= 12 && i < 16) {
            const std::uint32_t chunk = (std::uint32_t{bytes[12]} << 24) | (bytes[13] << 16) | (bytes[14] << 8) | bytes[15];
            if (chunk < 4096 || chunk > (16u << 20) || !engine::core::ChunkLayout{chunk}.plainSizeOf(bytes.size() - kHeader))
                expected = msg::kDamaged;
        }
        expectRefusedWith(bytes, expected);
    }
}

TEST_F(BadPackage, ChangedBodyIsRefusedAlsoWhenOnlyTheLastChunkIsHit) {
    for (std::size_t at : {kHeader, kHeader + 40, kHeader + kStride + 5, sealed.size() - 20, sealed.size() - 1}) {
        SCOPED_TRACE(at);
        auto bytes = sealed;
        bytes[at] ^= 0x80;
        expectRefusedWith(bytes, msg::kDamaged);
    }
}

TEST_F(BadPackage, CutOrExtendedPackageIsRefused) {
    for (std::size_t size : {std::size_t{8}, std::size_t{79}, kHeader, kHeader + 16, sealed.size() - kStride,
                             sealed.size() - 16, sealed.size() - 1}) {
        SCOPED_TRACE(size);
        expectRefusedWith({sealed.begin(), sealed.begin() + static_cast<long>(size)}, msg::kDamaged);
    }
    expectRefusedWith({}, msg::kNotAPackage);  // too short to show the magic
    expectRefusedWith({sealed.begin(), sealed.begin() + 7}, msg::kNotAPackage);
    auto longer = sealed;
    longer.push_back(0);
    expectRefusedWith(longer, msg::kDamaged);
}

TEST_F(BadPackage, FilesThatAreNotPackagesAreRefused) {
    expectRefusedWith(randomBytes(5000, 3), msg::kNotAPackage);
    writeFile(package, randomBytes(5000, 4));
    FakeBar bar;
    FakeWindow window;
    VQ203::sifrovat(package, kKey, bar, window);  // a single encrypted file, not a package
    expectRefused(msg::kNotAPackage);
    EXPECT_EQ(decryptPackage(dir.file("není tu"), kKey), msg::kPackageMissing);
}

TEST_F(BadPackage, HostileNamesAreRefusedBeforeAnythingIsWritten) {
    std::filesystem::create_directory(dir.file("vnitřní"));
    const std::string inner = dir.file("vnitřní/directory.cff");
    const FolderState outside = snapshot(dir.path());
    for (const std::string& name : std::vector<std::string>{"../ven", "a/b", "a\\b", "", ".", "..", std::string("nul\0x", 5),
                                   std::string(256, 'x')}) {
        SCOPED_TRACE(name);
        writePackage(inner, {{"neškodný", {1, 2, 3}}, {name, {4, 5, 6}}}, kKey);
        const FolderState before = snapshot(dir.file("vnitřní"));
        EXPECT_EQ(decryptPackage(inner, kKey), msg::kHostileName);
        EXPECT_EQ(snapshot(dir.file("vnitřní")), before);
        EXPECT_FALSE(hasTemporaryFiles(dir.file("vnitřní")));
        EXPECT_EQ(snapshot(dir.path()).size(), outside.size());
    }
    writePackage(inner, {{"dvakrát", {1}}, {"dvakrát", {2}}}, kKey);  // the second would replace the first
    EXPECT_EQ(decryptPackage(inner, kKey), msg::kHostileName);
    writePackage(inner, {{"dobrý", {7, 8}}, {"..dobrý..", {9}}}, kKey);  // dots inside a name are fine
    EXPECT_EQ(decryptPackage(inner, kKey), "");
    EXPECT_EQ(readFile(dir.file("vnitřní/..dobrý..")), std::vector<unsigned char>{9});
}

// The next operation's sweep would delete a file of a temporary's name; control characters break every list and
// message that shows the name. Both are refused, and named so that the message can show them.
TEST_F(BadPackage, NamesTheSweepWouldTakeOrWithControlCharactersAreRefusedBeforeAnythingIsWritten) {
    std::filesystem::create_directory(dir.file("vnitřní"));
    const std::string inner = dir.file("vnitřní/directory.cff");
    for (const auto& [name, shown] : std::vector<std::pair<std::string, std::string>>{
             {".x.mvxtmp-ABCDEF", ".x.mvxtmp-ABCDEF"},
             {".mvxtmp-Qw3rty", ".mvxtmp-Qw3rty"},
             {"řádek\nzlom.txt", "řádek\u240azlom.txt"},
             {"esc\x1b[31m", "esc\u241b[31m"},
             {"del\x7f", "del\u2421"}}) {
        SCOPED_TRACE(name);
        writePackage(inner, {{"neškodný", {1, 2, 3}}, {name, {4, 5, 6}}}, kKey);
        const FolderState before = snapshot(dir.file("vnitřní"));
        EXPECT_EQ(decryptPackage(inner, kKey), std::string(msg::kUnrestorableNames) + shown);
        EXPECT_EQ(snapshot(dir.file("vnitřní")), before);
        EXPECT_FALSE(hasTemporaryFiles(dir.file("vnitřní")));
    }
    writePackage(inner, {{".notes.mvxtmp-v2.txt", {7}}}, kKey);  // only nearly the shape: restored
    EXPECT_EQ(decryptPackage(inner, kKey), "");
    EXPECT_EQ(readFile(dir.file("vnitřní/.notes.mvxtmp-v2.txt")), std::vector<unsigned char>{7});
}

TEST_F(BadPackage, ExistingFilesAreNeverOverwrittenAndAreNamed) {
    writeFile(dir.file("malý"), randomBytes(10, 5));
    std::filesystem::create_symlink("/nikam", dir.file("velký"));  // also a dangling link is in the way
    expectRefused(std::string(msg::kFilesInTheWay) + "malý, velký");
    std::filesystem::remove(dir.file("velký"));
    expectRefused(std::string(msg::kFilesInTheWay) + "malý");
    std::filesystem::remove(dir.file("malý"));
    EXPECT_EQ(decryptPackage(package, kKey), "");
    EXPECT_EQ(readFile(dir.file("malý")), randomBytes(100, 1));
}

// Root only: a small file system of our own that runs full.
TEST(FolderFullDisk, NothingIsLostInEitherDirection) {
    engine::core::setScryptCostForTesting(10);
    SmallTmpfs disk("size=1m");
    if (!disk.mounted()) GTEST_SKIP() << "needs root to mount a small tmpfs";
    const std::string folder = disk.path();
    writeFile(disk.file("a"), randomBytes(300 * 1024, 6));
    writeFile(disk.file("b"), randomBytes(300 * 1024, 7));
    const FolderState original = snapshot(folder);

    EXPECT_EQ(encryptFolder(folder, kKey), msg::kDiskFull);  // the package does not fit beside the files
    EXPECT_EQ(snapshot(folder), original);
    EXPECT_FALSE(hasTemporaryFiles(folder));

    ASSERT_EQ(::mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT, "size=2m"), 0);
    ASSERT_EQ(encryptFolder(folder, kKey), "");
    const FolderState encrypted = snapshot(folder);
    writeFile(disk.file(".výplň"), std::vector<unsigned char>(900 * 1024));  // leaves too little for the files
    const FolderState crowded = snapshot(folder);
    EXPECT_EQ(decryptPackage(disk.file("directory.cff"), kKey), msg::kDiskFull);
    EXPECT_EQ(snapshot(folder), crowded);
    EXPECT_FALSE(hasTemporaryFiles(folder));

    std::filesystem::remove(disk.file(".výplň"));
    EXPECT_EQ(snapshot(folder), encrypted);
    ASSERT_EQ(decryptPackage(disk.file("directory.cff"), kKey), "");
    EXPECT_EQ(snapshot(folder), original);
}

namespace {

// A file bound over itself is a mount point: it reads as before, but cannot be renamed over or removed.
class PinnedFile {
public:
    explicit PinnedFile(std::string path) : path_(std::move(path)) {
        pinned_ = ::mount(path_.c_str(), path_.c_str(), nullptr, MS_BIND, nullptr) == 0;
    }
    ~PinnedFile() {
        if (pinned_) ::umount2(path_.c_str(), MNT_DETACH);
    }
    bool pinned() const { return pinned_; }

private:
    std::string path_;
    bool pinned_ = false;
};

}  // namespace

// Root only. The last step, giving the carried package the outer one's name (or removing the package), fails:
// either the folder is as it was, or what is left is named; never "unchanged" over restored files.
TEST_F(BadPackage, APackageThatCannotBeReplacedOrRemovedIsReportedTruly) {
    writeFile(dir.file("nový"), randomBytes(1000, 3));
    ASSERT_EQ(encryptFolder(dir.path(), "vnější"), "");  // the first package travels inside the second
    const FolderState twice = snapshot(dir.path());
    {
        PinnedFile pin(package);
        if (!pin.pinned()) GTEST_SKIP() << "needs root to bind a file over itself";
        EXPECT_EQ(decryptPackage(package, "vnější"), msg::kWriteFailed);
        EXPECT_EQ(snapshot(dir.path()), twice);
        EXPECT_FALSE(hasTemporaryFiles(dir.path()));
    }
    ASSERT_EQ(decryptPackage(package, "vnější"), "");
    {
        PinnedFile pin(package);
        EXPECT_EQ(decryptPackage(package, kKey), std::string(msg::kPackageLeft) + "directory.cff");
        EXPECT_EQ(readFile(dir.file("velký")), randomBytes(3 * 65536, 2));
    }
}

// Another program writes to the package while it is restored: it is no longer the package that was read, so
// it is neither removed nor replaced, and nothing is restored from the older state.
TEST_F(BadPackage, PackageChangedMeanwhileIsKeptAndNothingIsRestored) {
    struct AppendingBar : engine::ProgressBar {
        std::string path;
        bool done = false;
        void setPosition(int percent) override {
            if (percent == 0 || done) return;
            done = true;
            auto bytes = readFile(path);
            bytes.push_back('!');
            writeFile(path, bytes);
        }
    };
    AppendingBar appending;
    appending.path = package;
    FolderCall call;
    FakeFileList files(dir.path(), {});
    VQ202::desifrdir(package, call.hashEdit, files, call.errorMsg, call.pb1, call.pb2, appending, call.soubor,
                     call.status, call.window, kKey);
    EXPECT_EQ(call.errorMsg.text(), msg::kPackageChangedMeanwhile);
    auto expected = sealed;
    expected.push_back('!');
    EXPECT_TRUE(readFile(package) == expected) << "the newer package was lost";
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"directory.cff"});
}

// A folder of more files than may wait unnamed at once is named in batches; a package found damaged after a
// batch was named takes those names back. Run in a child: the descriptor limit is the whole process's.
TEST(FolderInBatches, ADamagedEndTakesBackTheFilesAlreadyNamed) {
    engine::core::setScryptCostForTesting(10);
    TempDir dir;
    for (int i = 0; i < 300; ++i) writeFile(dir.file("f" + std::to_string(i)), randomBytes(1000 + i, i));
    const FolderState original = snapshot(dir.path());
    ASSERT_EQ(encryptFolder(dir.path(), kKey), "");
    const std::string package = dir.file("directory.cff");
    auto damaged = readFile(package);
    damaged[damaged.size() - 5] ^= 1;  // the last chunk: found only after every file has been restored
    const auto sealed = readFile(package);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit few {64, 64};  // batches of a few files
        ::setrlimit(RLIMIT_NOFILE, &few);
        writeFile(package, damaged);
        const bool refused = decryptPackage(package, kKey) == msg::kDamaged;
        const bool untouched = dir.entries() == std::vector<std::string>{"directory.cff"};
        writeFile(package, sealed);
        const bool restored = decryptPackage(package, kKey).empty();
        ::_exit(refused && untouched ? (restored ? 0 : 3) : (refused ? 2 : 1));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: damage not reported, 2: names left behind, 3: good package refused";
    EXPECT_EQ(snapshot(dir.path()), original);
}
