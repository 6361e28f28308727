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

// Windows tells allocated ranges only of sparse files, which the engine never writes: all of it is data.
std::optional<std::pair<std::uint64_t, std::uint64_t>> nextDataRange(int, std::uint64_t offset, std::uint64_t size) {
    if (offset >= size) return std::nullopt;
    return std::pair{offset, size};
}

bool setLength(int descriptor, std::uint64_t size, int& error) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (::SetFileInformationByHandle(handleOf(descriptor), FileEndOfFileInfo, &end, sizeof end)) return true;
    error = errnoOf(::GetLastError());
    return false;
}

// Windows keeps no permission bits: access comes from the folder's inherited list. The time goes through a
// handle of its own with the right to set it, as the descriptor may be open for reading only.
bool setPermissionsAndTime(int descriptor, std::uint32_t, const FileTime& modified, int& error) {
    return setModifiedTime(descriptor, modified, error);
}

bool setModifiedTime(int descriptor, const FileTime& modified, int& error) {
    // 100-nanosecond steps since 1601-01-01.
    constexpr std::int64_t kEpochDifference = 11644473600LL;
    const std::int64_t ticks = (modified.seconds + kEpochDifference) * 10000000LL + modified.nanoseconds / 100;
    FILE_BASIC_INFO basic{};  // zero times and attributes: left as they are
    basic.LastWriteTime.QuadPart = ticks;
    if (::SetFileInformationByHandle(handleOf(descriptor), FileBasicInfo, &basic, sizeof basic)) return true;
    const HANDLE writable = ::ReOpenFile(handleOf(descriptor), FILE_WRITE_ATTRIBUTES, kShareAll, 0);
    const bool done = writable != INVALID_HANDLE_VALUE &&
                      ::SetFileInformationByHandle(writable, FileBasicInfo, &basic, sizeof basic);
    if (!done) error = errnoOf(::GetLastError());
    if (writable != INVALID_HANDLE_VALUE) ::CloseHandle(writable);
    return done;
}

// An ordinary user cannot flush a volume: TemporaryFile flushes each file before it gives it a name.
bool flushFileSystemOf(int, int&) { return true; }

void adviseWillRead(int) {}

// The C library's table of descriptors, which wrap the handles, holds this many.
std::size_t openFileLimit() { return 2048; }

}  // namespace engine::core
