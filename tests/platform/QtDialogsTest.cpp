// SPDX-License-Identifier: GPL-3.0-or-later
// The real input box, as the user manager shows it: looked at while it is open, then cancelled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "platform/QtDialogs.h"
#include "tests/support/HeldEngineCalls.h"

namespace {

struct SeenInputBox {
    QPoint centre;
    int maxLength = 0;
    bool keptAbove = false;
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    bool seen = false;
};

// Runs the input box with `owner` the active window, records what it shows and cancels it.
SeenInputBox inputBoxOver(QWidget& owner, platform::Echo echo = platform::Echo::Password) {
    owner.show();
    QApplication::setActiveWindow(&owner);
    SeenInputBox seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!box) return;
        seen.seen = true;
        seen.centre = box->frameGeometry().center();
        seen.keptAbove = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        if (const auto* field = box->findChild<QLineEdit*>()) {
            seen.maxLength = field->maxLength();
            seen.echo = field->echoMode();
        }
        box->reject();
    });
    platform::QtDialogs dialogs;
    EXPECT_FALSE(dialogs.input(QStringLiteral("Zadejte heslo"), QStringLiteral("Heslo"), QString(), echo).has_value());
    return seen;
}

TEST(QtDialogsInput, BoxIsCentredOnTheScreenNotOverTheWindowThatOpenedIt) {
    QWidget owner;
    owner.setGeometry(0, 0, 200, 120);
    const SeenInputBox seen = inputBoxOver(owner);
    ASSERT_TRUE(seen.seen);
    const QPoint screenCentre = QApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((seen.centre - screenCentre).manhattanLength(), 2);
    EXPECT_EQ(seen.maxLength, 255);
    EXPECT_EQ(seen.echo, QLineEdit::Password);
    EXPECT_EQ(inputBoxOver(owner, platform::Echo::Clear).echo, QLineEdit::Normal);
    // Above the login window, which keeps above all others in the same place.
    EXPECT_TRUE(seen.keptAbove);
}

// Enter in a question answers with its default button.
platform::Answer enterIn(platform::Buttons buttons, QString* defaultText = nullptr) {
    QTimer::singleShot(0, [defaultText] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (defaultText && box->defaultButton()) *defaultText = box->defaultButton()->text();
        QTest::keyClick(box, Qt::Key_Return);
    });
    platform::QtDialogs dialogs;
    return dialogs.message(QStringLiteral("Opravdu?"), QStringLiteral("Otázka"), platform::Icon::Question, buttons);
}

TEST(QtDialogsMessage, EnterIsNoWhereYesWouldDestroyAndYesElsewhere) {
    EXPECT_EQ(enterIn(platform::Buttons::YesNoDefaultNo), platform::Answer::No);
    EXPECT_EQ(enterIn(platform::Buttons::YesNo), platform::Answer::Yes);
}

TEST(QtDialogsMessage, TheWindowsBelowAreDrawnOnceTheBoxHasClosed) {
    QWidget owner;
    owner.resize(300, 200);
    owner.show();
    QApplication::setActiveWindow(&owner);
    QCoreApplication::processEvents();  // the first drawing done
    testutil::PaintCounter paints(owner);
    int paintsWhileOpen = -1;
    QTimer::singleShot(0, [&] {
        paintsWhileOpen = paints.count();
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    });
    platform::QtDialogs dialogs;
    dialogs.message(QStringLiteral("Hotovo."), QStringLiteral("Šifrování dokončeno"), platform::Icon::Information,
                    platform::Buttons::Ok);
    // No event loop ran after the box closed: the paint came from the box's own closing.
    EXPECT_GT(paints.count(), paintsWhileOpen);
}

// The window manager cuts a caption wider than its box: "Mive… BETA" said nothing.
TEST(QtDialogsMessage, TheBoxIsWideEnoughForItsCaption) {
    const QString caption = QStringLiteral("Mivex2.0BETA – dlouhý titulek okna se zprávou");
    int boxWidth = 0;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxWidth = box->width();
            box->accept();
        }
    });
    platform::QtDialogs dialogs;
    dialogs.message(QStringLiteral("Ok."), caption, platform::Icon::Error, platform::Buttons::Ok);
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GE(boxWidth, QFontMetrics(bold).horizontalAdvance(caption) + 100);
}

}  // namespace
