// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/crash/OneWayOperation.h"

#include <filesystem>

#include "tests/crash/Child.h"
#include "tests/crash/Content.h"
#include "tests/crash/FolderInspection.h"
#include "tests/crash/Settings.h"
#include "tests/crash/SingleFileOperation.h"
#include "tests/crash/Steps.h"
#include "tests/engine/TempDir.h"

namespace crash {
namespace {

class OneWayOperation : public Operation {
public:
    OneWayOperation() : Operation("sifrovat0") {}

    void prepare() override { plain_ = plaintextFor(2, settings().fileBytes); }
    void lay(const std::string& folder) const override { testutil::writeFile(folder + "/" + kFileName, plain_); }
    void run(const std::string& folder) const override { step_.work(folder + "/" + kFileName); }
    std::set<std::string> belonging() const override { return {kFileName}; }

    // Original: not touched yet. Complete: the length kept, the content (partly) overwritten.
    Judgement judge(const std::string& folder, const std::set<std::string>& leftovers) const override {
        const std::string path = folder + "/" + kFileName;
        Judgement j;
        if (!std::filesystem::is_regular_file(path)) {
            j.lossNote = "the file is gone";
        } else if (const auto size = std::filesystem::file_size(path); size != plain_.size()) {
            j.lossNote = "the file has " + std::to_string(size) + " bytes instead of " + std::to_string(plain_.size());
        } else {
            j.outcome = testutil::readFile(path) == plain_ ? Outcome::Original : Outcome::Complete;
        }

        j.rerunFailure = failureOf("the rerun's sifrovat0", [&] { step_.work(path); });
        if (j.rerunFailure.empty() && j.outcome != Outcome::Lost) {
            const auto after = testutil::readFile(path);
            if (after.size() != plain_.size()) j.rerunFailure = "after the rerun the file's length changed";
            else if (holdsPlaintext(after)) j.rerunFailure = "after the rerun plaintext is still in the file";
        }
        if (const std::string extra = leftByRerun(folder, kFileName, leftovers); !extra.empty()) j.addRerunFailure(extra);
        return j;
    }

private:
    Step step_ = sifrovat0Step();
    std::vector<unsigned char> plain_;
};

}  // namespace

std::unique_ptr<Operation> oneWayOperation() { return std::make_unique<OneWayOperation>(); }

}  // namespace crash
