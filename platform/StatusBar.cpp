// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StatusBar.h"

#include <QLabel>

namespace platform {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) { setSizeGripEnabled(false); }

int StatusBar::addPanel(int width) {
    auto* label = new QLabel(this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // The bar adds its own margins; the last panel may shrink so that panels never overlap.
    if (panels_.empty()) {
        label->setFixedWidth(width);
    } else {
        label->setMinimumWidth(0);
        label->setMaximumWidth(width);
    }
    addWidget(label, panels_.empty() ? 0 : 1);
    panels_.push_back(label);
    return panelCount() - 1;
}

QString StatusBar::panelText(int index) const { return panel(index)->text(); }

void StatusBar::setPanelText(int index, const QString& text) { panel(index)->setText(text); }

}  // namespace platform
