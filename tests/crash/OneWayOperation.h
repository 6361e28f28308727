// SPDX-License-Identifier: GPL-3.0-or-later
// sifrovat0, which overwrites the file in place on purpose: after a kill the file must still be there with
// its length, alone in the folder, and running sifrovat0 again must leave no plaintext in it.
#pragma once

#include <memory>

#include "tests/crash/Operation.h"

namespace crash {

std::unique_ptr<Operation> oneWayOperation();

}  // namespace crash
