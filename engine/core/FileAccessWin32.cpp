// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <cerrno>

#include "engine/core/FileAccess.h"
#include "engine/core/FilesWin32.h"

namespace engine::core {
namespace {

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

// One call reads or writes at most this much (a DWORD count).
constexpr std::size_t kLargestStep = 1u << 30;

}  // namespace

std::optional<std::size_t> readSomeAt(int descriptor, void* buffer, std::size_t count, std::uint64_t offset) {
    OVERLAPPED where = at(offset);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min(count, kLargestStep));
    if (::ReadFile(handleOf(descriptor), buffer, want, &got, &where)) return got;
    return ::GetLastError() == ERROR_HANDLE_EOF ? std::optional<std::size_t>(0) : std::nullopt;
}

bool writeAllAt(int descriptor, const void* data, std::size_t count, std::uint64_t offset, int& error) {
    const auto* in = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED where = at(offset + done);
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min(count - done, kLargestStep));
        if (!::WriteFile(handleOf(descriptor), in + done, want, &put, &where)) {
            error = errnoOf(::GetLastError());
            return false;
        }
        done += put;
    }
    return true;
}

// Windows reports a used-up quota as a full disk (ERROR_DISK_FULL), which errnoOf already turns into ENOSPC.
bool isQuotaExceeded(int) { return false; }

bool flushToDisk(int descriptor) { return ::FlushFileBuffers(handleOf(descriptor)); }

}  // namespace engine::core
