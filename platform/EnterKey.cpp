#include "platform/EnterKey.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace platform {
namespace {

class EnterFilter : public QObject {
public:
    EnterFilter(QWidget& window, std::function<QAbstractButton*()> button)
        : QObject(&window), button_(std::move(button)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
        QAbstractButton* target = button_();
        if (!target || !target->isVisible() || !target->isEnabled()) return false;
        target->click();
        return true;
    }

private:
    std::function<QAbstractButton*()> button_;
};

}  // namespace

void pressOnEnter(QWidget& window, std::function<QAbstractButton*()> button) {
    window.installEventFilter(new EnterFilter(window, std::move(button)));
}

}  // namespace platform
