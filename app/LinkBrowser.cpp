// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LinkBrowser.h"

#include <QTextBrowser>

LinkBrowser::LinkBrowser(Opener open) : page_(new QTextBrowser), open_(std::move(open)) {
    page_->setOpenLinks(false);
    // The page sits 64 pixels left of the window's edge (as the web page does): the text starts after them.
    page_->document()->setDocumentMargin(12);
    page_->setStyleSheet(QStringLiteral("QTextBrowser { padding-left: 64px; }"));
    QObject::connect(page_, &QTextBrowser::anchorClicked, page_, [this](const QUrl& link) { open_(link); });
}

QWidget* LinkBrowser::view() { return page_; }

void LinkBrowser::navigate(const QUrl& address) {
    const QString shown = address.toDisplayString().toHtmlEscaped();
    const QString href = QString::fromUtf8(address.toEncoded()).toHtmlEscaped();
    page_->setHtml(QStringLiteral("<h3>Fórum podpory programu Mivex</h3>"
                                  "<p>Fórum se otevře ve vašem webovém prohlížeči:</p>"
                                  "<p><a href=\"%1\">%2</a></p>")
                       .arg(href, shown));
}
