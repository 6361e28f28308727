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
        if (event->type() == QEvent::Show && isPlacedWindow(widget)) {
            moveOnScreen(widget);
            widget.setProperty(kAwaitingFrame, true);
            // Shown by now: a window system that frames windows at once has told the frame's size.
            QMetaObject::invokeMethod(&widget, [&widget] { moveOnScreen(widget); }, Qt::QueuedConnection);
        } else if (event->type() == QEvent::Move && event->spontaneous() && widget.property(kAwaitingFrame).toBool()) {
            widget.setProperty(kAwaitingFrame, false);
            moveOnScreen(widget);
        }
        return false;
    }

private:
    // Shown, not yet moved by the window manager's framing.
    static constexpr char kAwaitingFrame[] = "mivexAwaitingFrame";
};

}  // namespace

void moveOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    // The frame as the window system knows it now: the widget's own record of it lags behind.
    QWindow* handle = window.windowHandle();
    const QRect frame = handle ? handle->frameGeometry() : window.frameGeometry();
    const int left = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    if (left == frame.left() && top == frame.top()) return;
    if (handle)
        handle->setFramePosition({left, top});
    else
        window.move(left, top);
}

void keepWindowsOnScreen(QApplication& app) { app.installEventFilter(new OnScreenFilter(&app)); }

}  // namespace platform
