// SPDX-License-Identifier: GPL-3.0-or-later
// Memory for key material: kept out of swap and of core dumps where the system lets us, and wiped before it
// is given back. Each block has pages of its own, so that locking and unlocking one never touches another
// block or ordinary heap data; secrets are few and small, so the page each costs does not matter.
#pragma once

#include <cstddef>
#include <new>

namespace engine::core {

// Never fails for want of the right to lock memory (an ordinary user's small RLIMIT_MEMLOCK): the block is
// then only not locked. Throws std::bad_alloc when there is no memory at all.
void* allocateLocked(std::size_t size);
// Wipes the `size` bytes of a block from allocateLocked and gives it back.
void releaseLocked(void* block, std::size_t size) noexcept;

template <class T>
struct LockedAllocator {
    using value_type = T;
    LockedAllocator() = default;
    template <class U>
    LockedAllocator(const LockedAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) { return static_cast<T*>(allocateLocked(n * sizeof(T))); }
    void deallocate(T* block, std::size_t n) noexcept { releaseLocked(block, n * sizeof(T)); }
    template <class U>
    bool operator==(const LockedAllocator<U>&) const noexcept { return true; }
};

}  // namespace engine::core
