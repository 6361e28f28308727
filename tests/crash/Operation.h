// SPDX-License-Identifier: GPL-3.0-or-later
// One engine operation as the kill sweep sees it: lay out its starting point, run it (in a child), and judge
// what a kill left behind, including the rerun that must finish the work.
#pragma once

#include <set>
#include <string>

namespace crash {

// The key every operation uses.
inline const std::string kKey = "klíč pro zkoušku pádu 7";

enum class Outcome {
    Original,  // the starting point is there byte for byte
    Complete,  // the complete result is there and, run to completion, gives back the original exactly
    Lost,      // neither: the user's data is not whole
};

struct Judgement {
    Outcome outcome = Outcome::Lost;
    std::string lossNote;      // when Lost: what is there instead
    std::string modeNote;      // "" when every file the user finds has the permissions it must have
    std::string rerunFailure;  // "" when the rerun finished and left the expected state

    void addRerunFailure(const std::string& what) { rerunFailure += (rerunFailure.empty() ? "" : "; ") + what; }
};

class Operation {
public:
    explicit Operation(std::string name) : name_(std::move(name)) {}
    virtual ~Operation() = default;
    const std::string& name() const { return name_; }

    // Once, before any run: makes the starting point (encrypting it first where needed, in a child).
    virtual void prepare() = 0;
    // A fresh copy of the starting point into the empty `folder`.
    virtual void lay(const std::string& folder) const = 0;
    // The operation itself; runs in a child and throws when it fails.
    virtual void run(const std::string& folder) const = 0;
    // The names that belong in the folder; anything else there is a leftover.
    virtual std::set<std::string> belonging() const = 0;
    // After a kill, with the child gone: whether the data is whole, then the rerun (in fresh children): the
    // same operation again, or its opposite where the folder shows that the operation had committed.
    // `leftovers` have been counted already; they are not held against the rerun.
    virtual Judgement judge(const std::string& folder, const std::set<std::string>& leftovers) const = 0;

private:
    std::string name_;
};

}  // namespace crash
