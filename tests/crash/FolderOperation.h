// SPDX-License-Identifier: GPL-3.0-or-later
// sifrdir and desifrdir on a folder of many files. After a kill the folder must hold every original file
// unchanged or the complete package (originals that are still there beside it unchanged too); the rerun is
// the same call again, or the opposite one where the package's presence shows the first had committed, and
// it ends with a desifrdir that must give back exactly the original files.
#pragma once

#include <memory>

#include "tests/crash/Operation.h"

namespace crash {

enum class FolderWork { Pack, Restore };

// `tree`: the folder has subfolders (Settings: treeFiles in treeFolders, and an empty one) and is packed whole.
std::unique_ptr<Operation> folderOperation(FolderWork work, bool tree = false);

}  // namespace crash
