// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Unit9.h"

#include <QShowEvent>

#include "app/Maker.h"
#include "platform/ErrorReport.h"
#include "platform/WidgetKit.h"

TForm9::TForm9(std::unique_ptr<Browser> browser)
    : ToolWindow(QStringLiteral("Mivex Support Forum"), QSize(579, 544)), browser_(std::move(browser)) {
    setObjectName(QStringLiteral("Form9"));
    setFont(QFont(QStringLiteral("Tahoma")));
    move(320, 100);
    WebBrowser1 = browser_->view();
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    platform::describe(*WebBrowser1, QStringLiteral("Fórum podpory"), QStringLiteral("Stránka fóra podpory programu Mivex"));
    WebBrowser1->setParent(this);
    // Wider than the window and shifted left: the page's leftmost 64 pixels are cut off.
    WebBrowser1->setGeometry(-64, 0, 641, 545);
}

TForm9::~TForm9() = default;

void TForm9::FormShow() { browser_->navigate(QUrl(QString::fromUtf8(maker::kForumAddress))); }

void TForm9::showEvent(QShowEvent* event) {
    ToolWindow::showEvent(event);
    // Qt sends a show event only on the change from hidden to visible; a restore by the system is none.
    if (!event->spontaneous()) platform::guard([this] { FormShow(); });
}
