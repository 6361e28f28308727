// SPDX-License-Identifier: GPL-3.0-or-later
// A live temporary is open without sharing (TemporaryFileWin32.cpp): one that can be opened here with no
// sharing at all is nobody's. The checks and the removal act on that one handle.
//
// An abandoned hidden file whose final name is free is given that name instead of being removed: it is either
// a file moved aside to be replaced (the replacement died before it took the name: the old content is all
// there is) or a complete, flushed result that died in the instant between losing its removal mark and
// taking its free name. Either way the name gets the content that was meant to be there at that moment.
#include <string_view>

#include "engine/core/EntryNames.h"
#include "engine/core/FilesWin32.h"
#include "engine/core/Sweep.h"

namespace engine::core {
namespace {

void removeIfAbandoned(const Folder& folder, const std::string& name) {
    const HANDLE handle = ::CreateFileW(widePath(folder.pathOf(name)).c_str(), DELETE | FILE_READ_ATTRIBUTES, 0,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return;  // held by its writer, or gone
    const auto state = stateOfHandle(handle);
    if (state && state->isRegular() && state->links == 1) {
        const std::string_view finalName = finalNameOf(name);
        if (finalName.empty()) {
            setDeleteOnClose(handle, true);
        } else if (finalName.size() < kTemporaryStemLimit) {  // at the limit the name may be cut: left alone
            const std::wstring target = widePath(folder.pathOf(std::string(finalName)));
            if (!renameOpenFile(handle, target, false)) {
                const DWORD error = ::GetLastError();
                if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) setDeleteOnClose(handle, true);
            }
        }
    }
    ::CloseHandle(handle);
}

}  // namespace

void sweepAbandonedTemporaries(const Folder& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE listing = ::FindFirstFileExW(widePath(folder.pathOf("*")).c_str(), FindExInfoBasic, &found,
                                              FindExSearchNameMatch, nullptr, 0);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = utf8Path(found.cFileName);
        if (isTemporaryName(name)) removeIfAbandoned(folder, name);
    } while (::FindNextFileW(listing, &found));
    ::FindClose(listing);
}

}  // namespace engine::core
