// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RuntimeError.h"

#include <cerrno>
#include <climits>

namespace platform {

RuntimeError::RuntimeError(const QString& text) : std::runtime_error(text.toStdString()) {}

RuntimeError fileError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return RuntimeError(QStringLiteral("File not found"));
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return RuntimeError(QStringLiteral("File access denied"));
    case EMFILE:
    case ENFILE:
        return RuntimeError(QStringLiteral("Too many open files"));
    default:
        return RuntimeError(QStringLiteral("I/O error %1").arg(error));
    }
}

RuntimeError invalidInteger(const QString& text) {
    return RuntimeError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

RuntimeError unableToWrite(const QString& path) {
    return RuntimeError(QStringLiteral("Unable to write to %1").arg(path));
}

int strToInt(const QString& text) {
    QString digits = text;
    while (!digits.isEmpty() && digits.front() == QLatin1Char(' ')) digits.remove(0, 1);
    bool ok = false;
    const qlonglong value = digits.toLongLong(&ok, 10);
    if (!ok || digits.isEmpty() || digits.back() == QLatin1Char(' ') || value < INT_MIN || value > INT_MAX)
        throw invalidInteger(text);
    return static_cast<int>(value);
}

}  // namespace platform
