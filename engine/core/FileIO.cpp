// SPDX-License-Identifier: GPL-3.0-or-later
// What the file layer does alike on every system; the rest is in its system's sibling.
#include "engine/core/FileIO.h"

#include <cerrno>

#include "engine/Ports.h"
#include "engine/core/FileAccess.h"
#include "engine/core/FileState.h"
#include "engine/core/Messages.h"

namespace engine::core {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void throwWriteError(int error) {
    if (error == ENOSPC || error == EFBIG || isQuotaExceeded(error)) throw Error(msg::kDiskFull);
    if (error == EACCES || error == EPERM || error == EROFS) throw Error(msg::kCannotWrite);
    throw Error(msg::kWriteFailed);
}

PlacedFile placeRegularFile(const std::string& path) {
    const std::string resolved = resolveRegularFile(path);
    return PlacedFile{Folder(folderOf(resolved)), baseNameOf(resolved), resolved};
}

std::size_t InputFile::readAt(void* buffer, std::size_t count, std::uint64_t offset) const {
    auto* out = static_cast<unsigned char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const auto got = readSomeAt(fd_, out + done, count - done, offset + done);
        if (!got) throw Error(msg::kCannotRead);
        if (*got == 0) break;
        done += *got;
    }
    return done;
}

bool InputFile::readExactAt(void* buffer, std::size_t count, std::uint64_t offset) const {
    return readAt(buffer, count, offset) == count;
}

ReplacementFile::ReplacementFile(const Folder& folder, const std::string& name, std::uint64_t expectedSize)
    : folder_(folder),
      name_(name),
      temp_([&]() -> const Folder& {
          const auto info = folder.entry(name);
          if (info && info->isRegular() && info->links > 1) throw Error(msg::kHardLinks);
          sweepAbandonedTemporaries(folder);
          return folder;
      }(), name, expectedSize) {}

void ReplacementFile::commit(std::uint64_t finalSize) { commit(finalSize, std::function<void()>{}); }

void ReplacementFile::commit(std::uint64_t finalSize, const InputFile& original) {
    commit(finalSize, [&] {
        if (!original.unchangedIn(folder_, name_)) throw Error(msg::kChangedMeanwhile);
    });
}

}  // namespace engine::core
