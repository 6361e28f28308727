// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OnScreen.h"

#include <algorithm>

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QVariant>
#include <QWindow>
#include <QWidget>

namespace platform {
namespace {

bool isPlacedWindow(const QWidget& widget) {
    // Menus, tooltips and the like are placed by Qt itself, next to what opened them.
    return widget.isWindow() && !(widget.windowType() == Qt::Popup || widget.windowType() == Qt::ToolTip ||
                                   widget.windowType() == Qt::SplashScreen);
}

class OnScreenFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType()) return false;
        auto& widget = *static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::Show:
            if (!isPlacedWindow(widget)) return false;
            widget.setProperty(kOpening, true);
            moveOnScreen(widget);
            // Shown by now: a window system that frames windows at once has told the frame's size.
            QMetaObject::invokeMethod(&widget, [&widget] { moveOnScreen(widget); }, Qt::QueuedConnection);
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
            if (!widget.property(kOpening).toBool()) return false;
            moveOnScreen(widget);
            // Opened once it has the keyboard in its frame; from then on it goes wherever the user puts it.
            if (event->type() == QEvent::WindowActivate && isFramed(widget)) widget.setProperty(kOpening, false);
            break;
        default:
            break;
        }
        return false;
    }

private:
    static bool isFramed(const QWidget& window) {
        const QWindow* handle = window.windowHandle();
        return window.windowFlags().testFlag(Qt::FramelessWindowHint) || !handle || !handle->frameMargins().isNull();
    }

    // Shown, and not yet settled in the window manager's frame.
    static constexpr char kOpening[] = "mivexOpening";
};

}  // namespace

void moveOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The frame as the window system knows it now: the widget's own record of it lags behind.
    const QWindow* handle = window.windowHandle();
    const QRect frame = handle ? handle->frameGeometry() : window.frameGeometry();
    if (frame.isEmpty()) return;  // not yet laid out
    const int left = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    if (left != frame.left() || top != frame.top()) window.move(left, top);  // a window's place is its frame's
}

void keepWindowsOnScreen(QApplication& app) { app.installEventFilter(new OnScreenFilter(&app)); }

}  // namespace platform
