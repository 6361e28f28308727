// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/WindowsPutAway.h"

#include <algorithm>

#include <QApplication>

#include "platform/ToolWindow.h"

namespace users {

void WindowsPutAway::putAway(const std::vector<const QWidget*>& keep) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!dynamic_cast<platform::ToolWindow*>(window) || !window->isVisible()) continue;
        if (std::find(keep.begin(), keep.end(), window) != keep.end()) continue;
        window->hide();
        hidden_.emplace_back(window);
    }
}

void WindowsPutAway::showAgain() {
    const std::vector<QPointer<QWidget>> hidden = std::move(hidden_);
    hidden_.clear();
    for (const QPointer<QWidget>& window : hidden)
        if (window) window->show();
}

}  // namespace users
