// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EnterKey.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace platform {
namespace {

class EnterFilter : public QObject {
public:
    EnterFilter(QWidget& window, QAbstractButton& button) : QObject(&window), button_(&button) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        if (!button_ || !button_->isVisible() || !button_->isEnabled()) return false;
        button_->click();
        return true;
    }

private:
    QPointer<QAbstractButton> button_;
};

class EscapeFilter : public QObject {
public:
    explicit EscapeFilter(QWidget& window) : QObject(&window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window_ || event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier) return false;
        window_.close();
        return true;
    }

private:
    QWidget& window_;
};

}  // namespace

void closeOnEscape(QWidget& window) { window.installEventFilter(new EscapeFilter(window)); }

void pressOnEnter(QWidget& window, QAbstractButton& button) {
    window.installEventFilter(new EnterFilter(window, button));
}

}  // namespace platform
