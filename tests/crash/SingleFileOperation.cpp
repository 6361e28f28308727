// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/SingleFileOperation.h"

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "engine/VQ203.h"
#include "tests/crash/Child.h"
#include "tests/crash/Content.h"
#include "tests/crash/FolderInspection.h"
#include "tests/crash/Settings.h"
#include "tests/engine/TempDir.h"

namespace crash {
namespace {

using Bytes = std::vector<unsigned char>;

std::optional<Bytes> contentOf(const std::string& path) {
    if (!std::filesystem::is_regular_file(path)) return std::nullopt;
    return testutil::readFile(path);
}

// What is in the file's place, for a loss message.
std::string describeInstead(const std::optional<Bytes>& file, const Bytes& plain) {
    if (!file) return "the file is gone";
    const std::size_t size = file->size();
    if (size > plain.size() && std::equal(plain.begin(), plain.end(), file->begin()))
        return "the plaintext with " + std::to_string(size - plain.size()) + " bytes appended";
    if (size < plain.size() && std::equal(file->begin(), file->end(), plain.begin()))
        return "the plaintext cut to " + std::to_string(size) + " of " + std::to_string(plain.size()) + " bytes";
    return "a file of " + std::to_string(size) + " bytes that is neither the original nor a complete result";
}

class SingleFileOperation : public Operation {
public:
    SingleFileOperation(std::string name, Direction direction, Step forward, Step back)
        : Operation(std::move(name)), direction_(direction), forward_(std::move(forward)), back_(std::move(back)) {}

    void prepare() override {
        plain_ = plaintextFor(1, settings().fileBytes);
        start_ = plain_;
        if (direction_ == Direction::Decrypting) {
            testutil::TempDir scratch;
            const std::string path = scratch.file(kFileName);
            testutil::writeFile(path, plain_);
            const std::string failure = failureOf(back_.name, [&] { back_.work(path); });
            if (!failure.empty()) throw std::runtime_error("making the encrypted starting point: " + failure);
            start_ = testutil::readFile(path);
        }
    }

    // Permissions of the file's own, neither the temporary's 0600 nor a default, so that a result that did
    // not get them shows.
    void lay(const std::string& folder) const override {
        const std::string path = folder + "/" + kFileName;
        testutil::writeFile(path, start_);
        if (::chmod(path.c_str(), kMode) != 0) throw std::runtime_error("cannot set up " + path);
    }

    void run(const std::string& folder) const override { forward_.work(folder + "/" + kFileName); }

    std::set<std::string> belonging() const override { return {kFileName}; }

    Judgement judge(const std::string& folder, const std::set<std::string>& leftovers) const override {
        const std::string path = folder + "/" + kFileName;
        const std::optional<Bytes> file = contentOf(path);
        const std::string modeBefore = file ? modeNote(path, "after the kill") : "";
        const int kind = VQ203::desifrovatelnost(path);
        const bool encrypted = kind == VQ203::Normal || kind == VQ203::Fast;
        const bool encrypting = direction_ == Direction::Encrypting;
        const bool committed = encrypting ? encrypted : !encrypted;

        Judgement j;
        bool proofByRerun = false;  // an encrypted result counts as complete only once it decrypts to the original
        if (file == start_) j.outcome = Outcome::Original;
        else if (!encrypting && file == plain_) j.outcome = Outcome::Complete;
        else if (encrypting && committed) proofByRerun = true;
        else j.lossNote = describeInstead(file, plain_);

        // Every rerun ends with the plaintext in the file, so that one comparison checks the whole round trip.
        std::vector<const Step*> rerun;
        if (encrypting) rerun = committed ? std::vector{&back_} : std::vector{&forward_, &back_};
        else rerun = committed ? std::vector{&back_, &forward_} : std::vector{&forward_};
        for (const Step* step : rerun) {
            j.rerunFailure = failureOf("the rerun's " + step->name, [&] { step->work(path); });
            if (!j.rerunFailure.empty()) break;
        }
        const std::optional<Bytes> after = contentOf(path);
        if (proofByRerun) {
            if (j.rerunFailure.empty() && after == plain_) j.outcome = Outcome::Complete;
            else j.lossNote = "an encrypted file that does not give the original back";
        }
        if (j.rerunFailure.empty() && j.outcome != Outcome::Lost && after != plain_)
            j.rerunFailure = "after the rerun the file is not the original plaintext: " + describeInstead(after, plain_);
        if (const std::string extra = leftByRerun(folder, kFileName, leftovers); !extra.empty()) j.addRerunFailure(extra);
        j.modeNote = modeBefore.empty() && after ? modeNote(path, "after the rerun") : modeBefore;
        return j;
    }

private:
    static constexpr unsigned kMode = 0640;

    static std::string modeNote(const std::string& path, const std::string& when) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || (info.st_mode & 07777) == kMode) return "";
        char text[80];
        std::snprintf(text, sizeof text, "%s the file has mode %04o instead of %04o", when.c_str(), info.st_mode & 07777, kMode);
        return text;
    }

    Direction direction_;
    Step forward_;
    Step back_;
    Bytes plain_;
    Bytes start_;
};

}  // namespace

std::unique_ptr<Operation> singleFileOperation(std::string name, Direction direction, Step forward, Step back) {
    return std::make_unique<SingleFileOperation>(std::move(name), direction, std::move(forward), std::move(back));
}

}  // namespace crash
