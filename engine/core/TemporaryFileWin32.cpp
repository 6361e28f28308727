// SPDX-License-Identifier: GPL-3.0-or-later
// On Windows a temporary has a hidden name from the start, but it is marked for removal on its handle while
// it is written: whatever ends the process, the system removes it when the handle goes. The mark is taken
// back right before the rename that gives it its final name; only a crash in that instant leaves the hidden
// name, which the sweep recognises. The writer opens it without sharing: nobody else reads, writes, renames
// or removes it while it lives, and a temporary that can be opened at all is nobody's.
#include <io.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "engine/Ports.h"
#include "engine/core/EntryNames.h"
#include "engine/core/FileAccess.h"
#include "engine/core/FileIO.h"
#include "engine/core/FilesWin32.h"
#include "engine/core/Messages.h"
#include "engine/core/TemporaryFile.h"

namespace engine::core {

// A replacement asks for POSIX semantics first: the file it replaces may still be open (the engine reads it
// until the commit; a viewer may show it), which the classic rename refuses.
bool renameOpenFile(HANDLE handle, const std::wstring& target, bool replace) {
    const std::size_t bytes = sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t);
    std::vector<unsigned char> buffer(bytes, 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::copy(target.begin(), target.end(), info->FileName);
    if (replace) {
        // The flags share their place with ReplaceIfExists; the class and flags are Windows 10's.
        constexpr DWORD kReplaceIfExists = 0x1, kPosixSemantics = 0x2;
        constexpr auto kRenameInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(22);
        const DWORD flags = kReplaceIfExists | kPosixSemantics;
        std::memcpy(buffer.data(), &flags, sizeof flags);
        if (::SetFileInformationByHandle(handle, kRenameInfoEx, info, static_cast<DWORD>(bytes))) return true;
        const DWORD error = ::GetLastError();
        if (error != ERROR_INVALID_PARAMETER && error != ERROR_NOT_SUPPORTED && error != ERROR_INVALID_FUNCTION &&
            error != ERROR_ACCESS_DENIED)
            return false;
        std::memset(buffer.data(), 0, sizeof flags);
    }
    info->ReplaceIfExists = replace ? TRUE : FALSE;
    return ::SetFileInformationByHandle(handle, FileRenameInfo, info, static_cast<DWORD>(bytes));
}

namespace {

// Makes the content durable, takes back the removal mark and renames; refused, the mark is put back (the file
// goes with its handle). 0, or the system's error. The flush is here because an ordinary user cannot flush a
// whole volume for callers that name many files (flushFileSystemOf).
DWORD giveName(HANDLE handle, const std::wstring& target, bool replace) {
    if (!::FlushFileBuffers(handle)) return ::GetLastError();
    if (!setDeleteOnClose(handle, false)) return ::GetLastError();
    if (renameOpenFile(handle, target, replace)) return 0;
    const DWORD error = ::GetLastError();
    setDeleteOnClose(handle, true);
    return error;
}

// Where the system cannot replace a file that is still open (no POSIX rename semantics: Wine, Windows before
// 10), the target is moved aside under a temporary's hidden name first, the result takes the free name, and
// the old file goes when its last handle closes. A crash in between leaves the old file hidden with its own
// name free, and the sweep gives it that name back (SweepWin32.cpp). 0, or the system's error.
DWORD replaceMovingAside(HANDLE result, const Folder& folder, const std::string& target) {
    const std::wstring targetPath = widePath(folder.pathOf(target));
    const HANDLE old = ::CreateFileW(targetPath.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (old == INVALID_HANDLE_VALUE) return ::GetLastError();
    const std::wstring aside = widePath(folder.pathOf(temporaryNameFor(target, randomTemporarySuffix())));
    if (!renameOpenFile(old, aside, false)) {
        const DWORD error = ::GetLastError();
        ::CloseHandle(old);
        return error;
    }
    if (const DWORD error = giveName(result, targetPath, false)) {
        renameOpenFile(old, targetPath, false);
        ::CloseHandle(old);
        return error;
    }
    setDeleteOnClose(old, true);  // refused, the sweep removes it: its name is taken now
    ::CloseHandle(old);
    return 0;
}

}  // namespace

TemporaryFile::TemporaryFile(const Folder& folder, const std::string& nameHint, std::uint64_t reserve,
                             std::uint32_t)  // no permission bits here: the folder's list decides
    : folder_(folder), nameHint_(nameHint) {
    if (reserve > 0)
        if (const auto free = folder.freeSpace(); free && *free < reserve) throw Error(msg::kDiskFull);
    createNamed();
    if (reserve > 0) {
        FILE_ALLOCATION_INFO allocation{};
        allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(reserve);
        if (!::SetFileInformationByHandle(handleOf(fd_), FileAllocationInfo, &allocation, sizeof allocation)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL) {
                ::_close(fd_);  // marked for removal: the name goes with it
                fd_ = -1;
                hidden_.clear();
                throw Error(msg::kDiskFull);
            }
        }
    }
}

void TemporaryFile::createNamed() {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string name = temporaryNameFor(nameHint_, randomTemporarySuffix());
        const HANDLE handle = ::CreateFileW(widePath(folder_.pathOf(name)).c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                            0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            throwWriteError(errnoOf(error));
        }
        if (!setDeleteOnClose(handle, true)) {
            const DWORD error = ::GetLastError();
            ::CloseHandle(handle);
            ::DeleteFileW(widePath(folder_.pathOf(name)).c_str());
            throwWriteError(errnoOf(error));
        }
        fd_ = descriptorOf(handle);
        if (fd_ < 0) throw Error(msg::kWriteFailed);
        hidden_ = name;
        return;
    }
    throw Error(msg::kWriteFailed);
}

TemporaryFile::~TemporaryFile() {
    // Unnamed or taken back, the file is marked for removal: closing removes it.
    if (fd_ >= 0) ::_close(fd_);
}

void TemporaryFile::writeAt(const void* data, std::size_t count, std::uint64_t offset) {
    int error = 0;
    if (!writeAllAt(fd_, data, count, offset, error)) throwWriteError(error);
}

void TemporaryFile::syncWithSize(std::uint64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(handleOf(fd_), FileEndOfFileInfo, &end, sizeof end))
        throwWriteError(errnoOf(::GetLastError()));
    if (!flushToDisk(fd_)) throwWriteError(errnoOf(::GetLastError()));
}

bool TemporaryFile::nameAs(const std::string& target) {
    if (const DWORD error = giveName(handleOf(fd_), widePath(folder_.pathOf(target)), false)) {
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) return false;
        throwWriteError(errnoOf(error));
    }
    hidden_.clear();
    named_ = target;
    identity_ = stateOf(fd_).value_or(FileState{});
    return true;
}

void TemporaryFile::nameReplacing(const std::string& target) {
    DWORD error = giveName(handleOf(fd_), widePath(folder_.pathOf(target)), true);
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION)
        error = replaceMovingAside(handleOf(fd_), folder_, target);
    if (error) throwWriteError(errnoOf(error));
    hidden_.clear();
    named_ = target;
    identity_ = stateOf(fd_).value_or(FileState{});
}

void TemporaryFile::unname() {
    if (named_.empty()) return;
    // Still open, the file is ours alone and still has the name: marked, it goes with the handle.
    if (fd_ >= 0)
        setDeleteOnClose(handleOf(fd_), true);
    else
        folder_.removeIfStill(named_, identity_);
    named_.clear();
}

void TemporaryFile::close() {
    if (named_.empty() || fd_ < 0) return;
    ::_close(fd_);
    fd_ = -1;
}

}  // namespace engine::core
