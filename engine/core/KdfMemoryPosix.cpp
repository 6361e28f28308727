// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/core/KdfMemory.h"

#include <openssl/crypto.h>
#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace engine::core {
namespace {

constexpr std::size_t kHugePage = 2u << 20;

// The mapped blocks in use. Large blocks are rare (one per running derivation), so a few slots do; when
// they are all taken a block comes from malloc like any other.
struct Mapping {
    void* base = nullptr;  // what mmap gave
    std::size_t length = 0;
    void* block = nullptr;  // what the caller got: base rounded up to a huge page
    std::size_t size = 0;
};
std::mutex gMutex;
std::array<Mapping, 8> gMappings;

void* mapLarge(std::size_t size) {
    const std::size_t length = size + kHugePage;  // room to start the block on a huge-page boundary
    void* base = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    const auto address = (reinterpret_cast<std::uintptr_t>(base) + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    void* block = reinterpret_cast<void*>(address);
    // Both are hints: without them the block is only slower, or may appear in a core dump.
    ::madvise(block, size, MADV_HUGEPAGE);
    ::madvise(base, length, MADV_DONTDUMP);
    std::lock_guard lock(gMutex);
    for (Mapping& slot : gMappings) {
        if (slot.base) continue;
        slot = Mapping{base, length, block, size};
        return block;
    }
    ::munmap(base, length);
    return nullptr;
}

// The mapping `block` was handed out from, if it was; `forget` takes it off the list.
Mapping mappingOf(void* block, bool forget) {
    std::lock_guard lock(gMutex);
    for (Mapping& slot : gMappings) {
        if (!slot.base || slot.block != block) continue;
        const Mapping found = slot;
        if (forget) slot = Mapping{};
        return found;
    }
    return Mapping{};
}

void* allocate(std::size_t size, const char*, int) {
    if (size >= kLargeBlock)
        if (void* block = mapLarge(size)) return block;
    return std::malloc(size);
}

void release(void* block, const char*, int) {
    if (!block) return;
    const Mapping mapping = mappingOf(block, true);
    if (mapping.base) ::munmap(mapping.base, mapping.length);
    else std::free(block);
}

void* reallocate(void* block, std::size_t size, const char* file, int line) {
    if (!block) return allocate(size, file, line);
    const Mapping mapping = mappingOf(block, false);
    if (!mapping.base) return std::realloc(block, size);
    void* moved = allocate(size, file, line);
    if (!moved) return nullptr;  // the old block stays the caller's, as realloc promises
    std::memcpy(moved, block, std::min(size, mapping.size));
    release(block, file, line);
    return moved;
}

}  // namespace

bool installKdfMemory() {
    return CRYPTO_set_mem_functions(allocate, reallocate, release) == 1;
}

}  // namespace engine::core
