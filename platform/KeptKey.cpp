// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeptKey.h"

#include <QFocusEvent>
#include <QLineEdit>

namespace platform {

KeptKey::KeptKey(std::vector<QLineEdit*> parts, QObject* parent) : QObject(parent), parts_(std::move(parts)) {
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        parts_[i]->installEventFilter(this);
        // Typing and "Gen>>" alike replace the kept part.
        connect(parts_[i], &QLineEdit::textChanged, this, [this, i] { partChanged(i); });
    }
}

void KeptKey::offer() {
    kept_ = false;
    for (const QLineEdit* part : parts_) kept_ = kept_ || !part->text().isEmpty();
    parts_.front()->setFocus(Qt::OtherFocusReason);
    parts_.front()->selectAll();
}

void KeptKey::partChanged(std::size_t index) {
    if (!kept_ || emptying_) return;
    kept_ = false;
    emptying_ = true;
    for (std::size_t later = index + 1; later < parts_.size(); ++later) parts_[later]->clear();
    emptying_ = false;
}

// A click places the cursor where the user wants it; entering any other way selects the kept part.
bool KeptKey::eventFilter(QObject* watched, QEvent* event) {
    if (kept_ && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
        static_cast<QLineEdit*>(watched)->selectAll();
    return false;
}

}  // namespace platform
