// The real input box, as the user manager shows it: looked at while it is open, then cancelled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include "platform/QtDialogs.h"

namespace {

struct SeenInputBox {
    QPoint centre;
    int maxLength = 0;
    bool keptAbove = false;
    bool seen = false;
};

// Runs the input box with `owner` the active window, records what it shows and cancels it.
SeenInputBox inputBoxOver(QWidget& owner) {
    owner.show();
    QApplication::setActiveWindow(&owner);
    SeenInputBox seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!box) return;
        seen.seen = true;
        seen.centre = box->frameGeometry().center();
        seen.keptAbove = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        if (const auto* field = box->findChild<QLineEdit*>()) seen.maxLength = field->maxLength();
        box->reject();
    });
    platform::QtDialogs dialogs;
    EXPECT_FALSE(dialogs.input(QStringLiteral("Zadejte heslo"), QStringLiteral("Heslo"), QString()).has_value());
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
    // Above the login window, which keeps above all others in the same place.
    EXPECT_TRUE(seen.keptAbove);
}

}  // namespace
