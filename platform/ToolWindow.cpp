// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ToolWindow.h"

#include <optional>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "platform/Jpeg.h"
#include "platform/Style.h"

namespace platform {
namespace {

// While a tool window that has an owner is active, Qt matches the owner's shortcuts too (its menu bar's
// "&Otevřít"), so a mnemonic of the tool window's own ("&OK") that the owner also has is ambiguous and does
// nothing. The tool window answers its own mnemonics first.
class OwnMnemonicsFirst : public QObject {
public:
    explicit OwnMnemonicsFirst(QWidget& window) : QObject(&window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
        if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != &window_) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (event->type() == QEvent::KeyPress) {
            // The key press of a mnemonic answered here reaches no field as a typed letter.
            const bool answered = answered_ == key->keyCombination();
            answered_.reset();
            return answered;
        }
        if (key->modifiers() != Qt::AltModifier || !window_.isActiveWindow() || !answer(*key)) return false;
        answered_ = key->keyCombination();
        key->accept();  // no shortcut of the owner runs
        return true;
    }

private:
    bool answer(const QKeyEvent& key) {
        const QKeySequence pressed(key.keyCombination());
        for (QAbstractButton* button : window_.findChildren<QAbstractButton*>())
            if (button->isVisible() && button->isEnabled() && QKeySequence::mnemonic(button->text()) == pressed) {
                button->click();
                return true;
            }
        for (QLabel* label : window_.findChildren<QLabel*>()) {
            QWidget* buddy = label->buddy();
            if (buddy && buddy->isVisible() && buddy->isEnabled() && QKeySequence::mnemonic(label->text()) == pressed) {
                buddy->setFocus(Qt::ShortcutFocusReason);
                return true;
            }
        }
        return false;
    }

    QWidget& window_;
    std::optional<QKeyCombination> answered_;
};

}  // namespace

ToolWindow::ToolWindow(const QString& caption, QSize clientSize, const QString& background)
    : QWidget(nullptr, Qt::Tool) {
    setWindowTitle(caption);
    setFixedSize(clientSize);
    // Only the main window ends the program when it is closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    if (!background.isEmpty()) {
        keepLightPalette(*this);
        background_ = new Picture(this);
        background_->setObjectName(QStringLiteral("Image1"));
        background_->setPicture(loadJpeg(background));
        background_->setGeometry(rect());
        background_->lower();
    }
}

void ToolWindow::showInFront() { platform::showInFront(*this); }

// A window that keeps its owner stays a tool window of its own, placed on the screen as before.
void ToolWindow::belongTo(QWidget& owner) {
    const QPoint place = pos();
    setParent(&owner, windowFlags());
    move(place);
    // Seen before the focused control sees it: the shortcut check goes to the control with the keyboard.
    qApp->installEventFilter(new OwnMnemonicsFirst(*this));
}

void showInFront(QWidget& window) {
    // show, raise and activate leave a minimised window where it is.
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace platform
