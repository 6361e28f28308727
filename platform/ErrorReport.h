// SPDX-License-Identifier: GPL-3.0-or-later
// The application's standard error report, and the guard every handler runs in: whatever a handler
// throws (engine::Error, platform::RuntimeError, any std::exception) ends that handler and is shown
// here, so no exception ever reaches the Qt event loop.
#pragma once

#include <exception>
#include <utility>

#include <QString>

namespace platform {

inline constexpr const char* kApplicationTitle = "Mivex2.0BETA";

// The cause with a full stop added when it has none.
QString errorReportText(const QString& cause);

// Error icon, OK button, the application title as caption.
void showErrorReport(const QString& cause);

// Shows the report for the exception being handled; call only inside a catch block.
void reportCurrentException() noexcept;

// Runs `handler`; any exception abandons it and is reported.
template <class Handler>
void guard(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        reportCurrentException();
    }
}

// A slot for connect() that runs a member handler inside the guard:
//   connect(button, &QAbstractButton::clicked, this, platform::guarded(this, &TForm1::Otevt1Click));
template <class Window, class Base>
auto guarded(Window* window, void (Base::*handler)()) {
    return [window, handler] { guard([&] { (window->*handler)(); }); };
}

}  // namespace platform
