// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>

#include <openssl/crypto.h>

#include "engine/core/LockedMemory.h"

namespace engine::core {

void* allocateLocked(std::size_t size) {
    // VirtualAlloc hands out whole pages: a block never shares one with ordinary heap data.
    void* block = ::VirtualAlloc(nullptr, size == 0 ? 1 : size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!block) throw std::bad_alloc();
    // Refused beyond the process's small working-set minimum: the block then works all the same.
    ::VirtualLock(block, size == 0 ? 1 : size);
    return block;
}

void releaseLocked(void* block, std::size_t size) noexcept {
    if (!block) return;
    OPENSSL_cleanse(block, size);
    ::VirtualUnlock(block, size == 0 ? 1 : size);
    ::VirtualFree(block, 0, MEM_RELEASE);
}

}  // namespace engine::core
