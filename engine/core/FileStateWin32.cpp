// SPDX-License-Identifier: GPL-3.0-or-later
#include <io.h>

#include <cerrno>
#include <fcntl.h>
#include <vector>

#include "engine/core/FilesWin32.h"

namespace engine::core {
namespace {

constexpr wchar_t kLongPrefix[] = L"\\\\?\\";
constexpr std::uint32_t kLinkType = 0120000;

std::wstring wide(const std::string& text) {
    if (text.empty()) return {};
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length);
    return out;
}

std::string narrow(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string out(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), length, nullptr, nullptr);
    return out;
}

// 100-nanosecond ticks since 1601 -> seconds and nanoseconds since 1970.
FileTime unixTimeOf(const FILETIME& time) {
    constexpr std::int64_t kTicksTo1970 = 116444736000000000LL;
    const std::int64_t ticks =
        static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) -
        kTicksTo1970;
    std::int64_t seconds = ticks / 10000000;
    std::int64_t rest = ticks % 10000000;
    if (rest < 0) {
        rest += 10000000;
        --seconds;
    }
    return FileTime{seconds, static_cast<std::uint32_t>(rest * 100)};
}

}  // namespace

std::wstring widePath(const std::string& path) {
    std::wstring out = wide(path);
    for (wchar_t& c : out)
        if (c == L'/') c = L'\\';
    const bool driveAbsolute = out.size() >= 3 && out[1] == L':' && out[2] == L'\\';
    return driveAbsolute ? kLongPrefix + out : out;
}

std::string utf8Path(const std::wstring& path) {
    std::wstring plain = path.rfind(kLongPrefix, 0) == 0 ? path.substr(4) : path;
    for (wchar_t& c : plain)
        if (c == L'\\') c = L'/';
    return narrow(plain);
}

HANDLE handleOf(int descriptor) {
    return descriptor < 0 ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor));
}

int descriptorOf(HANDLE handle) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) ::CloseHandle(handle);
    return fd;
}

std::optional<FileState> stateOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (handle == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(handle, &info)) return std::nullopt;
    FILE_BASIC_INFO basic{};
    const bool hasChangeTime = ::GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic);
    FileState state;
    state.volume = info.dwVolumeSerialNumber;
    state.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    state.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    state.modified = unixTimeOf(info.ftLastWriteTime);
    if (hasChangeTime) {
        FILETIME changed{};
        changed.dwLowDateTime = static_cast<DWORD>(basic.ChangeTime.QuadPart & 0xFFFFFFFF);
        changed.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(basic.ChangeTime.QuadPart) >> 32);
        state.changed = unixTimeOf(changed);
    } else {
        state.changed = state.modified;
    }
    const DWORD attributes = info.dwFileAttributes;
    const std::uint32_t type = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? kLinkType
                               : (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileState::kFolder
                                                                          : FileState::kRegular;
    state.mode = type | ((attributes & FILE_ATTRIBUTE_READONLY) ? 0444u : 0666u);
    state.links = info.nNumberOfLinks;
    return state;
}

std::string finalPathOf(HANDLE handle) {
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                         FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) return {};
        if (length < buffer.size()) return utf8Path(std::wstring(buffer.data(), length));
        buffer.resize(length + 1);
    }
}

bool setDeleteOnClose(HANDLE handle, bool remove) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = remove ? TRUE : FALSE;
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof disposition);
}

int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_FILE_TOO_LARGE:
            return EFBIG;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return EACCES;
        case ERROR_WRITE_PROTECT:
            return EROFS;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        default:
            return EIO;
    }
}

std::optional<FileState> stateOf(int descriptor) { return stateOfHandle(handleOf(descriptor)); }

std::optional<FileState> stateAt(const std::string& path) {
    const HANDLE handle = ::CreateFileW(widePath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    auto state = stateOfHandle(handle);
    ::CloseHandle(handle);
    return state;
}

// Windows keeps owners as security ids and lets its access lists decide who may do what: no number to compare.
bool ownedByThisUser(const FileState&) { return true; }

}  // namespace engine::core
