// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/RuntimeError.h"

namespace platform {

std::uint64_t fileLength(const QString& path) {
    const QByteArray name = path.toLocal8Bit();
    if (name.isEmpty()) throw fileError(ENOENT);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw fileError(errno);
    struct stat st {};
    const int statResult = ::fstat(fd, &st);
    const int statError = errno;
    ::close(fd);
    if (statResult != 0) throw fileError(statError);
    // A folder opens for reading on this system but is no file to take a length of.
    if (S_ISDIR(st.st_mode)) throw fileError(EISDIR);
    return static_cast<std::uint64_t>(st.st_size);
}

}  // namespace platform
