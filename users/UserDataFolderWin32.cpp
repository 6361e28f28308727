// SPDX-License-Identifier: GPL-3.0-or-later
#include <windows.h>
#include <shlobj.h>

#include <stdexcept>
#include <string>

#include "users/UserDataFolder.h"

namespace users {
namespace {

std::string utf8Of(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return "";
    std::string out(static_cast<std::size_t>(size - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring wideOf(const std::string& text) {
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 1) return L"";
    std::wstring out(static_cast<std::size_t>(size - 1), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), size);
    return out;
}

}  // namespace

std::string programDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) throw std::runtime_error("The program file cannot be found");
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    std::string file = utf8Of(path.c_str());
    for (char& c : file)
        if (c == '\\') c = '/';
    return file.substr(0, file.rfind('/') + 1);
}

std::string userDataFolder() {
    // %APPDATA%, the user's roaming application data; its folders are the user's own.
    PWSTR appData = nullptr;
    std::string folder;
    if (::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &appData) == S_OK)
        folder = utf8Of(appData) + "\\Mivex2\\";
    ::CoTaskMemFree(appData);
    if (!folder.empty()) ::CreateDirectoryW(wideOf(folder).c_str(), nullptr);
    return folder;
}

}  // namespace users
