// SPDX-License-Identifier: GPL-3.0-or-later
// Removing the hidden temporaries that killed processes left behind (TemporaryFile.h), and nothing else.
#pragma once

#include "engine/core/Folder.h"

namespace engine::core {

// Removes from the folder each entry that is certainly an abandoned temporary of ours: a name of exactly the
// temporaries' shape (EntryNames.h), a regular file (not followed through a link) of the effective user,
// with one link, the mode a temporary can have (below), and no lock on it (every live temporary is locked by
// its writer). What is removed is the very file that was checked, right before the removal.
// On Windows an abandoned one whose final name is free is given that name back instead (SweepWin32.cpp).
void sweepAbandonedTemporaries(const Folder& folder);

}  // namespace engine::core
