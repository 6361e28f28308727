// SPDX-License-Identifier: GPL-3.0-or-later
// Files the engine reads stay open to readers and to a rename over them (the engine's own commit), never to
// writers: nobody changes a file while it is read for its replacement.
#include <cerrno>
#include <fcntl.h>
#include <io.h>

#include "engine/Ports.h"
#include "engine/core/FileIO.h"
#include "engine/core/FilesWin32.h"
#include "engine/core/Messages.h"
#include "engine/core/TestHooks.h"

namespace engine::core {
namespace {

constexpr DWORD kShareWhileRead = FILE_SHARE_READ | FILE_SHARE_DELETE;
// What a replacement takes over from the file it replaces; read-only is refused before (it could not be replaced).
constexpr DWORD kCarriedAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                     FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

[[noreturn]] void throwOpenError(DWORD error, bool forWriting) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) throw Error(msg::kFileMissing);
    throw Error(forWriting ? msg::kCannotWrite : msg::kCannotRead);
}

// Opens `path` for `access`; `entryItself` opens a link as itself (refused then, as no regular file).
int openRegularFile(const std::string& path, DWORD access, bool entryItself, bool forWriting) {
    const DWORD flags = FILE_ATTRIBUTE_NORMAL | (entryItself ? FILE_FLAG_OPEN_REPARSE_POINT : 0);
    const HANDLE handle =
        ::CreateFileW(widePath(path).c_str(), access, kShareWhileRead, nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) throwOpenError(::GetLastError(), forWriting);
    const auto state = stateOfHandle(handle);
    if (!state || !state->isRegular()) {
        ::CloseHandle(handle);
        throw Error(state && entryItself ? msg::kChangedMeanwhile : msg::kNotARegularFile);
    }
    const int fd = descriptorOf(handle);
    if (fd < 0) throw Error(forWriting ? msg::kCannotWrite : msg::kCannotRead);
    return fd;
}

}  // namespace

std::uint32_t processUmask() { return 0; }  // Windows has no creation mask: access lists are inherited from the folder

std::string resolveRegularFile(const std::string& path) {
    if (path.empty()) throw Error(msg::kFileMissing);
    const HANDLE handle = ::CreateFileW(widePath(path).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        if (::GetLastError() == ERROR_ACCESS_DENIED) throw Error(msg::kCannotRead);
        throw Error(msg::kFileMissing);
    }
    const auto state = stateOfHandle(handle);
    const std::string resolved = finalPathOf(handle);
    ::CloseHandle(handle);
    if (!state || resolved.empty()) throw Error(msg::kFileMissing);
    if (!state->isRegular()) throw Error(msg::kNotARegularFile);
    return resolved;
}

InputFile::InputFile(const std::string& path) { takeOpened(openRegularFile(path, GENERIC_READ, false, false)); }

InputFile::InputFile(const Folder& folder, const std::string& name) {
    takeOpened(openRegularFile(folder.pathOf(name), GENERIC_READ, true, false));
}

void InputFile::takeOpened(int fd) {
    fd_ = fd;
    const auto state = stateOf(fd_);
    if (!state) {
        ::_close(fd_);
        fd_ = -1;
        throw Error(msg::kCannotRead);
    }
    opened_ = *state;
    size_ = state->size;
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::_close(fd_);
}

bool InputFile::unchangedIn(const Folder& folder, const std::string& name) const {
    const auto now = stateOf(fd_);
    const auto named = folder.entry(name);
    return now && named && sameFile(*named, opened_) && unchangedSince(opened_, *now);
}

OpenFile::OpenFile(const Folder& folder, const std::string& name, Access access) {
    const bool writing = access != Access::Read;
    fd_ = openRegularFile(folder.pathOf(name), GENERIC_READ | (writing ? GENERIC_WRITE : 0), true, writing);
}

OpenFile::~OpenFile() {
    if (fd_ >= 0) ::_close(fd_);
}

std::uint64_t OpenFile::size() const {
    const auto state = stateOf(fd_);
    if (!state) throw Error(msg::kCannotRead);
    return state->size;
}

void ReplacementFile::commit(std::uint64_t finalSize, const std::function<void()>& beforeRename) {
    const HANDLE result = handleOf(temp_.descriptor());
    const std::wstring target = widePath(folder_.pathOf(name_));
    const auto original = folder_.entry(name_);
    if (original) {
        if (!original->isRegular()) throw Error(msg::kChangedMeanwhile);
        const DWORD attributes = ::GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) throw Error(msg::kChangedMeanwhile);
        if (attributes & FILE_ATTRIBUTE_READONLY) throw Error(msg::kCannotWrite);
        FILE_BASIC_INFO basic{};  // zero times: left as they are
        basic.FileAttributes = (attributes & kCarriedAttributes) ? (attributes & kCarriedAttributes) : FILE_ATTRIBUTE_NORMAL;
        if (!::SetFileInformationByHandle(result, FileBasicInfo, &basic, sizeof basic))
            throw Error(msg::kPermissionsNotKept);
    }
    temp_.syncWithSize(finalSize);
    reachMoment(Moment::ResultWritten);
    if (beforeRename) beforeRename();
    folder_.requireStillInPlace();
    if (original) {
        const auto now = folder_.entry(name_);
        if (!now || !unchangedSince(*original, *now)) throw Error(msg::kChangedMeanwhile);
        temp_.nameReplacing(name_);
    } else if (!temp_.nameAs(name_)) {
        throw Error(msg::kChangedMeanwhile);
    }
    reachMoment(Moment::ResultNamed);
    committed_ = stateOf(temp_.descriptor()).value_or(FileState{});
    if (!folder_.sync(temp_.descriptor())) throw Error(msg::kNotDurable);
}

}  // namespace engine::core
