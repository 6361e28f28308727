// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EngineCall.h"

#include <exception>
#include <thread>

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QInputEvent>
#include <QThread>

namespace platform {
namespace {

std::function<void()> pauseForTesting;

// Keys, mouse, wheel, touch and tablet, context menus, shortcuts, drops, and the window manager's close box.
bool isUserInput(const QEvent& event) {
    if (dynamic_cast<const QInputEvent*>(&event)) return true;
    switch (event.type()) {
    case QEvent::Shortcut:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    case QEvent::Close:
        return event.spontaneous();
    default:
        return false;
    }
}

// While it lives, every window drops what the user does, and the pointer says that the program is busy.
class UserInputDropped : public QObject {
public:
    UserInputDropped() {
        QCoreApplication::instance()->installEventFilter(this);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~UserInputDropped() override {
        QCoreApplication::instance()->removeEventFilter(this);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::restoreOverrideCursor();
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (!isUserInput(*event)) return false;
        // Claimed as a plain key, so that no shortcut fires; the key itself is then dropped too.
        if (event->type() == QEvent::ShortcutOverride) event->accept();
        return true;
    }
};

}  // namespace

void runEngineCall(const std::function<void()>& call) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        call();
        return;
    }
    const UserInputDropped dropped;
    QObject receiver;  // on the GUI thread: the worker's last word arrives after everything it posted before
    bool done = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            if (pauseForTesting) pauseForTesting();
            call();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&receiver, [&done] { done = true; }, Qt::QueuedConnection);
    });
    // Not a QEventLoop: a request to end the program while the call runs must not end this wait early.
    while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    worker.join();
    if (failure) std::rethrow_exception(failure);
}

void setEngineCallPauseForTesting(std::function<void()> pause) { pauseForTesting = std::move(pause); }

}  // namespace platform
