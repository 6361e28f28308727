// SPDX-License-Identifier: GPL-3.0-or-later
#include <openssl/crypto.h>
#include <sys/mman.h>
#include <unistd.h>

#include "engine/core/LockedMemory.h"

namespace engine::core {
namespace {

std::size_t pagesFor(std::size_t size) {
    static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

}  // namespace

void* allocateLocked(std::size_t size) {
    const std::size_t length = pagesFor(size == 0 ? 1 : size);
    void* block = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) throw std::bad_alloc();
    // Both are refused only where the system has no such notion or the user no such right; the block then
    // works all the same, and the process is kept out of core dumps as a whole anyway.
    ::madvise(block, length, MADV_DONTDUMP);
    ::mlock(block, length);
    return block;
}

void releaseLocked(void* block, std::size_t size) noexcept {
    if (!block) return;
    const std::size_t length = pagesFor(size == 0 ? 1 : size);
    OPENSSL_cleanse(block, length);
    ::munlock(block, length);
    ::munmap(block, length);
}

}  // namespace engine::core
