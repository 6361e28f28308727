// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EngineCall.h"

#include <atomic>
#include <exception>
#include <thread>
#include <utility>
#include <vector>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QInputEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include "engine/Ports.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/StopButton.h"

namespace platform {
namespace {

std::function<void()> pauseForTesting;
std::atomic<bool> stopRequested{false};
int runningCalls = 0;
// Windows whose close box was answered "Yes" during a call: closed once it has ended.
std::vector<QPointer<QWidget>> closeAfterCall;

// The close box during a call: the question comes once the filter has let go of the event, on the GUI
// thread's next round, and may itself take input.
void askToStopAndClose(QWidget* window);

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

// The window system closes a QWindow; the window a user sees is the widget it belongs to.
QWidget* widgetOf(QObject* receiver) {
    if (receiver->isWidgetType()) return static_cast<QWidget*>(receiver);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowHandle() == receiver) return widget;
    return nullptr;
}

// While it lives, every window drops what the user does, and the pointer says that the program is busy.
class UserInputDropped : public QObject {
public:
    UserInputDropped() {
        QCoreApplication::instance()->installEventFilter(this);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        showStopButtons(true);
    }
    ~UserInputDropped() override {
        QCoreApplication::instance()->removeEventFilter(this);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) QGuiApplication::restoreOverrideCursor();
        showStopButtons(false);
    }
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!isUserInput(*event)) return false;
        if (asking_ || isStopButton(receiver)) return false;
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            requestEngineStop();
        if (event->type() == QEvent::Close) {
            event->ignore();
            // One question however many close events the window system sends for one click.
            if (!askPending_) {
                askPending_ = true;
                QPointer<QWidget> window = widgetOf(receiver);
                QMetaObject::invokeMethod(this, [this, window] {
                    asking_ = true;
                    askToStopAndClose(window);
                    asking_ = askPending_ = false;
                }, Qt::QueuedConnection);
            }
        }
        // Claimed as a plain key, so that no shortcut fires; the key itself is then dropped too.
        if (event->type() == QEvent::ShortcutOverride) event->accept();
        return true;
    }

private:
    bool asking_ = false;  // the close box's question is up: its answer must reach it
    bool askPending_ = false;
};

void askToStopAndClose(QWidget* window) {
    if (!window || runningCalls == 0) return;
    // The program ends with its last window that ends it when closed.
    bool lastWindow = window->testAttribute(Qt::WA_QuitOnClose);
    for (const QWidget* other : QApplication::topLevelWidgets())
        if (other != window && other->isVisible() && other->testAttribute(Qt::WA_QuitOnClose)) lastWindow = false;
    const QString text = lastWindow ? QStringLiteral("Operace ještě běží. Zrušit ji a ukončit program?")
                                    : QStringLiteral("Operace ještě běží. Zrušit ji a zavřít okno?");
    if (dialogs().message(text, QString::fromLatin1(kApplicationTitle), Icon::Question, Buttons::YesNoDefaultNo) !=
        Answer::Yes)
        return;
    closeAfterCall.emplace_back(window);
    requestEngineStop();
}

// Once the handler that made the calls has let go: a handler's next call would otherwise take the close.
void closeWindowsAskedFor() {
    if (closeAfterCall.empty()) return;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] {
        if (runningCalls > 0) return;  // posted again when that call ends
        for (const QPointer<QWidget>& window : std::exchange(closeAfterCall, {}))
            if (window) window->close();
    }, Qt::QueuedConnection);
}

}  // namespace

void runEngineCall(const std::function<void()>& call) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        call();
        return;
    }
    ++runningCalls;
    struct Ended {
        ~Ended() {
            if (--runningCalls == 0) closeWindowsAskedFor();
        }
    } ended;
    const UserInputDropped dropped;
    QObject receiver;  // on the GUI thread: the worker's last word arrives after everything it posted before
    bool done = false;
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            if (pauseForTesting) pauseForTesting();
            const engine::CancelScope scope(stopRequested);
            call();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&receiver, [&done] {
            done = true;
            // Windows' event dispatcher delivers posted events before it waits and does not count them as
            // events: without this the wait below would sleep on until some other event came (a mouse move).
            if (auto* dispatcher = QThread::currentThread()->eventDispatcher()) dispatcher->interrupt();
        }, Qt::QueuedConnection);
    });
    // Not a QEventLoop: a request to end the program while the call runs must not end this wait early.
    while (!done) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    worker.join();
    if (failure) {
        // The request has done its work: it stopped this call.
        try {
            std::rethrow_exception(failure);
        } catch (const engine::Cancelled&) {
            stopRequested = false;
            throw;
        }
    }
}

void requestEngineStop() {
    if (runningCalls > 0) stopRequested = true;
}

bool engineCallRunning() { return runningCalls > 0; }

void forgetEngineStopRequest() {
    if (runningCalls == 0) stopRequested = false;
}

void setEngineCallPauseForTesting(std::function<void()> pause) { pauseForTesting = std::move(pause); }

}  // namespace platform
