// SPDX-License-Identifier: GPL-3.0-or-later
// The folder is held open without FILE_SHARE_DELETE: while the operation runs, nobody can rename, move or
// remove it, nor any folder above it (Windows refuses to rename a folder with open handles beneath). So a
// name joined to its path stays in this folder, which is what the POSIX sibling gets from *at calls.
#include <io.h>

#include "engine/Ports.h"
#include "engine/core/Background.h"
#include "engine/core/FileIO.h"
#include "engine/core/FilesWin32.h"
#include "engine/core/Folder.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"

#include <utility>

namespace engine::core {
namespace {

// "C:" alone means the drive's current folder: the user's choice of a drive is its root.
std::string asGiven(const std::string& path) { return path.size() == 2 && path[1] == ':' ? path + "/" : path; }

HANDLE openFolder(const std::string& path, DWORD access) {
    return ::CreateFileW(widePath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// An entry itself, a link (reparse point) not followed; opened for `access` with every sharing allowed.
HANDLE openEntry(const std::string& path, DWORD access) {
    return ::CreateFileW(widePath(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

}  // namespace

Folder::Folder(const std::string& path) {
    // Links on the way are followed (the user's choice); what was opened names itself afterwards.
    const HANDLE handle = openFolder(asGiven(path), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) throw Error(msg::kFileMissing);
        if (error == ERROR_DIRECTORY) throw Error(msg::kFolderMovedMeanwhile);
        throw Error(error == ERROR_ACCESS_DENIED ? msg::kCannotRead : msg::kCannotWrite);
    }
    const auto state = stateOfHandle(handle);
    path_ = finalPathOf(handle);
    if (!state || !state->isFolder() || path_.empty()) {
        ::CloseHandle(handle);
        throw Error(msg::kFolderMovedMeanwhile);
    }
    fd_ = descriptorOf(handle);
    if (fd_ < 0) throw Error(msg::kCannotRead);
    reachMoment(Moment::FolderOpened);
}

Folder Folder::subfolder(const Folder& parent, const std::string& name) {
    // Opened as an entry: a junction or link in its place is not followed but refused.
    const std::string path = parent.pathOf(name);
    const HANDLE handle = openEntry(path, FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        throw Error(error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? msg::kFileMissing : msg::kCannotRead);
    }
    FILE_ATTRIBUTE_TAG_INFO tag{};
    const auto state = stateOfHandle(handle);
    const bool isLink = !::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) ||
                        (tag.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (!state || !state->isFolder() || isLink) {
        ::CloseHandle(handle);
        throw Error(msg::kFolderMovedMeanwhile);
    }
    const std::string finalPath = finalPathOf(handle);
    const int fd = descriptorOf(handle);
    if (fd < 0) throw Error(msg::kCannotRead);
    return Folder(finalPath.empty() ? path : finalPath, fd);
}

Folder Folder::newSubfolder(const Folder& parent, const std::string& name) {
    if (!::CreateDirectoryW(widePath(parent.pathOf(name)).c_str(), nullptr)) throwWriteError(errnoOf(::GetLastError()));
    return subfolder(parent, name);
}

Folder::~Folder() {
    if (fd_ >= 0) ::_close(fd_);
}

Folder::Folder(Folder&& other) noexcept : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

std::string Folder::pathOf(const std::string& name) const {
    return path_.back() == '/' ? path_ + name : path_ + "/" + name;
}

std::optional<FileState> Folder::entry(const std::string& name) const {
    const HANDLE handle = openEntry(pathOf(name), FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    auto state = stateOfHandle(handle);
    ::CloseHandle(handle);
    return state;
}

void Folder::requireStillInPlace() const {
    if (finalPathOf(handleOf(fd_)) != path_) throw Error(msg::kFolderMovedMeanwhile);
}

bool Folder::removeIfStill(const std::string& name, const FileState& expected) const {
    // The check and the removal act on one handle: unlike POSIX, nothing can come between them.
    const HANDLE handle = openEntry(pathOf(name), DELETE | FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const auto now = stateOfHandle(handle);
    const bool removed = now && sameFile(*now, expected) && setDeleteOnClose(handle, true);
    ::CloseHandle(handle);
    return removed;
}

bool Folder::removeFolderIfStill(const std::string& name, const FileState& expected) const {
    const HANDLE handle = openEntry(pathOf(name), DELETE | FILE_READ_ATTRIBUTES);
    if (handle == INVALID_HANDLE_VALUE) return false;
    const auto now = stateOfHandle(handle);
    const bool removed = now && now->isFolder() && sameFile(*now, expected) && setDeleteOnClose(handle, true);
    ::CloseHandle(handle);
    return removed && !entry(name);
}

std::vector<std::string> Folder::names() const {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(widePath(pathOf("*")).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) throw Error(msg::kCannotRead);
    std::vector<std::string> names;
    do {
        const std::string name = utf8Path(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileW(search, &found));
    const bool complete = ::GetLastError() == ERROR_NO_MORE_FILES;
    ::FindClose(search);
    if (!complete) throw Error(msg::kCannotRead);
    return names;
}

// Windows keeps no permission bits: only the time is given.
bool Folder::setModeAndTime(std::uint32_t /*mode*/, std::int64_t seconds, std::uint32_t nanoseconds) const {
    const HANDLE writable = openFolder(path_, FILE_WRITE_ATTRIBUTES);
    if (writable == INVALID_HANDLE_VALUE) return false;
    // 100-nanosecond intervals since 1601-01-01.
    const std::uint64_t ticks = static_cast<std::uint64_t>(seconds + 11644473600LL) * 10'000'000u + nanoseconds / 100;
    const FILETIME modified{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    const bool set = ::SetFileTime(writable, nullptr, nullptr, &modified);
    ::CloseHandle(writable);
    return set;
}

bool Folder::sync(int anyDescriptorOnItsFileSystem) const {
    // A folder's entries reach the disk with its flush where the file system allows opening it for writing;
    // elsewhere the file system's journal carries the names, and the file given is flushed.
    const HANDLE writable = openFolder(path_, GENERIC_WRITE);
    if (writable != INVALID_HANDLE_VALUE) {
        const bool flushed = ::FlushFileBuffers(writable);
        ::CloseHandle(writable);
        if (flushed) return true;
    }
    return anyDescriptorOnItsFileSystem >= 0 && ::FlushFileBuffers(handleOf(anyDescriptorOnItsFileSystem));
}

std::optional<std::uint64_t> Folder::freeSpace() const {
    waitForBackgroundWork(Background::Freeing);  // what abandoned work still holds is given back first
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(widePath(path_ + "/").c_str(), &available, nullptr, nullptr)) return std::nullopt;
    return available.QuadPart;
}

// The sweep lists the folder through its path on this system.
int Folder::openForListing() const { return -1; }

}  // namespace engine::core
