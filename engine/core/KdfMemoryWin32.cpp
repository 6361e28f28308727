// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/KdfMemory.h"

namespace engine::core {

// Windows' heap already gives each block above half a megabyte a region of its own straight from the virtual
// memory manager, committed at once; huge pages need a privilege users do not have. OpenSSL's own
// allocation is kept.
bool installKdfMemory() { return true; }

}  // namespace engine::core
