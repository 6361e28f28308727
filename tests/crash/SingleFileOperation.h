// SPDX-License-Identifier: GPL-3.0-or-later
// An operation that turns one file into another in place and back: encryption and decryption, alone or as
// the window's whole handler sequence. After a kill the file must be its starting point byte for byte or the
// complete result; the rerun goes forward again, or back where the file shows the step had committed.
#pragma once

#include <memory>

#include "tests/crash/Operation.h"
#include "tests/crash/Steps.h"

namespace crash {

inline const std::string kFileName = "data.bin";

enum class Direction {
    Encrypting,  // starts from the plaintext; committed once the file is an encrypted file of ours
    Decrypting,  // starts from the plaintext encrypted by `back`; committed once the file is no longer encrypted
};

// `forward` is the operation, `back` its opposite; a decrypting operation's starting point is made by `back`.
std::unique_ptr<Operation> singleFileOperation(std::string name, Direction direction, Step forward, Step back);

}  // namespace crash
