// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ErrorReport.h"

#include <stdexcept>

#include "platform/Dialogs.h"

namespace platform {

QString errorReportText(const QString& cause) {
    if (cause.endsWith(QLatin1Char('.'))) return cause;
    return cause + QLatin1Char('.');
}

void showErrorReport(const QString& cause) {
    dialogs().message(errorReportText(cause), QString::fromUtf8(kApplicationTitle), Icon::Error, Buttons::Ok);
}

void reportCurrentException() noexcept {
    try {
        try {
            throw;
        } catch (const std::exception& e) {
            showErrorReport(QString::fromUtf8(e.what()));
        } catch (...) {
            showErrorReport(QStringLiteral("Unknown error"));
        }
    } catch (...) {
        // The report itself failed (no memory for a dialog): nothing sensible is left to show.
    }
}

}  // namespace platform
