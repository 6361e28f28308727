// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTextBrowser>

#include "app/LinkBrowser.h"

namespace {

// The forum of a build without a web engine: the page names the address, and a click on it hands the very
// address to the system's browser.
TEST(LinkBrowserPage, NamesTheForumAndOpensItInTheSystemBrowserOnAClick) {
    std::vector<QUrl> opened;
    LinkBrowser browser([&](const QUrl& link) { opened.push_back(link); });
    auto* page = qobject_cast<QTextBrowser*>(browser.view());
    ASSERT_NE(page, nullptr);
    const QUrl forum(QStringLiteral("https://www.mivex.example/mivex/forum.php?a=1&b=2"));
    browser.navigate(forum);
    EXPECT_TRUE(page->toPlainText().contains(forum.toDisplayString())) << page->toPlainText().toStdString();
    EXPECT_TRUE(opened.empty());

    page->resize(600, 400);
    page->show();
    const int linkAt = static_cast<int>(page->toPlainText().indexOf(QStringLiteral("https://")));
    QTextCursor cursor(page->document());
    cursor.setPosition(linkAt + 3);
    const QPoint onLink = page->cursorRect(cursor).center();
    QTest::mouseClick(page->viewport(), Qt::LeftButton, Qt::NoModifier, onLink);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], forum);
    delete page;
}

}  // namespace

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
