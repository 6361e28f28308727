// SPDX-License-Identifier: GPL-3.0-or-later
// Every operation the crash test kills, by the short id that names its test case.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tests/crash/Operation.h"

namespace crash {

std::vector<std::string> singleFileIds();  // sifrovat, fastsifrovat, desifrovat, fastdesifrovat, sifrovat0
std::vector<std::string> folderIds();      // sifrdir, desifrdir
std::vector<std::string> handlerIds();     // the window's key encryption and decryption, with either method

std::unique_ptr<Operation> makeOperation(const std::string& id);

}  // namespace crash
