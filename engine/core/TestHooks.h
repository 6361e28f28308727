// SPDX-License-Identifier: GPL-3.0-or-later
// Hooks for tests only: the production KDF cost would make every test take seconds, and the moments between
// an operation's steps cannot be reached by timing.
#pragma once

#include <cstdint>
#include <functional>

namespace engine::core {

// Files encrypted from now on get scrypt N = 2^log2N (tests use 10); log2N is clamped to the bounds a reader
// accepts (kMinLog2N..kMaxLog2N). Reading always honours the cost written in the file. Roster's user codes
// keep their fixed cost (about 0.1 s), so that a code is the same in every test and in the program.
void setScryptCostForTesting(std::uint8_t log2N);

// The steps of an operation at which a test may act (move the folder away, plant a file, kill the
// process): the hook runs on the engine's thread, in the middle of the operation, each time a moment comes.
enum class Moment {
    FolderOpened,     // the operation's folder is open: nothing is written yet
    ResultWritten,    // a replacement is complete and durable, its final checks and rename are next
    ResultNamed,      // a replacement has its final name, the folder is not yet durable
    FilesNamed,       // a batch of restored files has its names
    PackageRemoved,   // a restore removed its package
    OriginalsRemoved, // a folder encryption removed the files it packed
    KeyDerivation,    // a password is being stretched (on the thread that stretches it); nothing is written
};
// The steps at which writing can be interrupted.
inline constexpr Moment kAllMoments[] = {Moment::FolderOpened, Moment::ResultWritten, Moment::ResultNamed,
                                         Moment::FilesNamed,   Moment::PackageRemoved, Moment::OriginalsRemoved};
const char* nameOf(Moment moment);

// Sets (or with an empty function clears) the hook for every thread of the process.
void setMomentHookForTesting(std::function<void(Moment)> hook);
// Called by the engine at each moment; nothing happens unless a test set a hook.
void reachMoment(Moment moment);

}  // namespace engine::core
