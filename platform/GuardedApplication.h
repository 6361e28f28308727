// SPDX-License-Identifier: GPL-3.0-or-later
// The application object. Besides the guard around every handler, it stops any exception that still
// escapes an event handler at the event loop's door and shows it as the standard error report.
#pragma once

#include <QApplication>

namespace platform {

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace platform
