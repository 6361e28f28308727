// SPDX-License-Identifier: GPL-3.0-or-later
// A status bar of fixed-width panels whose texts other windows read and write.
#pragma once

#include <QStatusBar>
#include <vector>

class QLabel;

namespace platform {

class StatusBar : public QStatusBar {
public:
    explicit StatusBar(QWidget* parent = nullptr);

    // Adds a panel of `width` pixels at the right end; returns its index.
    int addPanel(int width);
    int panelCount() const { return static_cast<int>(panels_.size()); }
    QLabel* panel(int index) const { return panels_.at(static_cast<std::size_t>(index)); }

    QString panelText(int index) const;
    void setPanelText(int index, const QString& text);

private:
    std::vector<QLabel*> panels_;
};

}  // namespace platform
