// SPDX-License-Identifier: GPL-3.0-or-later
// How hard the crash test pushes: a short run for ctest, a long one for bench/run_crash_bench.sh.
// Everything comes from the environment, read once:
//   MIVEX_CRASH_LONG=1            the long run's defaults (50 kills, 64 MiB, a folder of 200 files, a tree
//                                 of 2000 files in 50 folders)
//   MIVEX_CRASH_KILLS=n           kills per operation (short: 6)
//   MIVEX_CRASH_FILE_MIB=n        size of the single file, and of the folder's files together (short: 4)
//   MIVEX_CRASH_FOLDER_FILES=n    files in the folder (short: 40)
//   MIVEX_CRASH_TREE_FILES=n      files in the tree (short: 40, long: 2000)
//   MIVEX_CRASH_TREE_FOLDERS=n    folders in the tree besides an empty one (short: 6, long: 50)
//   MIVEX_CRASH_SCRYPT_LOG2N=n    key derivation cost in the children (13: a visible slice of every run,
//                                 not most of it)
//   MIVEX_CRASH_SEED=n            the kill times' jitter; a failure names the seed it ran with
//   MIVEX_CRASH_TABLE=path        each operation appends its row of counts there (tab-separated)
#pragma once

#include <cstdint>
#include <string>

namespace crash {

struct Settings {
    int kills = 6;
    std::size_t fileBytes = 4u << 20;
    int folderFiles = 40;
    int treeFiles = 40;
    int treeFolders = 6;
    int scryptLog2N = 13;
    std::uint64_t seed = 0;
    std::string tablePath;
};

const Settings& settings();

}  // namespace crash
