// SPDX-License-Identifier: GPL-3.0-or-later
// Where OpenSSL's large blocks come from: in practice only scrypt's work area (128 MiB at the production
// cost), which the key derivation fills once from start to end. Taken with malloc it arrives as 4 KiB pages,
// each faulted in on first touch, and on a virtual machine those faults were a third to a half of the whole
// derivation. Large blocks are therefore mapped on their own, asked to be backed by huge pages, and kept out
// of core dumps (they hold what the password turned into). Everything else goes to malloc as before.
#pragma once

#include <cstddef>

namespace engine::core {

// Blocks of at least this size are mapped on their own.
inline constexpr std::size_t kLargeBlock = 8u << 20;

// Installs the allocation functions; must run before OpenSSL allocates anything, so it runs while the program
// starts. False when OpenSSL had already allocated: the derivation is then only slower.
bool installKdfMemory();

}  // namespace engine::core
