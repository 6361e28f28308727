// SPDX-License-Identifier: GPL-3.0-or-later
// Stopping a running operation from the main window: the "Zrušit" button, Esc and the close box. Each engine
// call is held on its worker thread while the user asks to stop; the file must stay as it was and the window
// must come back to the state it had before the operation.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "app/Unit1.h"
#include "engine/VQ203.h"
#include "platform/StatusBar.h"
#include "tests/fileops/FileOpsFixture.h"
#include "tests/support/HeldEngineCalls.h"

namespace {

using platform::Answer;

constexpr std::size_t kSize = 20000;  // below the size at which the fast method is offered
const QString kCancelledReport = QStringLiteral("Operace byla zrušena, soubor zůstal beze změny.");

class CancelOperations : public testutil::FileOpsFixture {
protected:
    QPushButton* stopButton() const { return main().sb->findChild<QPushButton*>(QStringLiteral("Zrusit")); }

    // Starts the keyed encryption of the open file; `during` runs while engine call `call` is held.
    int encryptHolding(const std::function<void(int call)>& during) {
        press(main().ToolButton4);
        main().Edit1->clear();
        type(main().Edit1, QStringLiteral("klíč"));
        testutil::HeldEngineCalls held([&](int call) { during(call); });
        click(main().BitBtn1);
        return held.calls();
    }

    void expectAsBefore(const QString& file, const std::vector<unsigned char>& bytes,
                        const std::vector<std::string>& entries) {
        EXPECT_EQ(testutil::bytesOf(file), bytes);
        EXPECT_EQ(dir.entries(), entries) << "no temporary left";
        EXPECT_EQ(dialogs.errorReports(), QStringList{kCancelledReport});
        EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
        EXPECT_EQ(main().pb->value(), 0);
        EXPECT_EQ(main().sb->panelText(0), file);
        EXPECT_TRUE(main().ToolButton4->isEnabled());
        EXPECT_FALSE(stopButton()->isVisible());
    }
};

}  // namespace

TEST_F(CancelOperations, TheStopButtonShowsOnlyWhileACallRuns) {
    ASSERT_NE(stopButton(), nullptr);
    const QString file = makeFile("doc.txt", 5000);
    open(file);
    EXPECT_FALSE(stopButton()->isVisible());
    bool visibleDuring = true;
    const int calls = encryptHolding([&](int) { visibleDuring = visibleDuring && stopButton()->isVisible(); });
    EXPECT_GT(calls, 0);
    EXPECT_TRUE(visibleDuring);
    EXPECT_FALSE(stopButton()->isVisible());
    EXPECT_EQ(VQ203::desifrovatelnost(file.toStdString()), VQ203::Normal) << "nobody asked to stop";
}

TEST_F(CancelOperations, AStopAtAnyStepOfAnEncryptionLeavesTheFileAndTheWindowAsTheyWere) {
    for (int stopAt = 1;; ++stopAt) {
        SCOPED_TRACE(stopAt);
        const QString file = makeFile("doc.txt", kSize);
        const auto bytes = testutil::bytesOf(file);
        open(file);
        dialogs.clear();
        const auto entries = dir.entries();
        const int calls = encryptHolding([&](int call) {
            if (call == stopAt) QTest::mouseClick(stopButton(), Qt::LeftButton);
        });
        if (calls < stopAt) break;  // every step has been stopped once
        expectAsBefore(file, bytes, entries);
        ASSERT_LT(stopAt, 10);
    }
}

TEST_F(CancelOperations, EscStopsTheDecryption) {
    const QString file = makeFile("doc.txt", kSize);
    const auto plain = testutil::bytesOf(file);
    encrypt(file, QStringLiteral("klíč"));
    const auto encrypted = testutil::bytesOf(file);
    open(file);
    press(main().ToolButton8);
    type(main().edit4, QStringLiteral("klíč"));
    dialogs.clear();
    {
        testutil::HeldEngineCalls held([&](int) { QTest::keyClick(main().edit4, Qt::Key_Escape); });
        click(main().BitBtn2);
    }
    EXPECT_EQ(testutil::bytesOf(file), encrypted);
    EXPECT_EQ(dialogs.errorReports(), QStringList{kCancelledReport});
    EXPECT_EQ(main().pb->value(), 0);

    dialogs.clear();
    click(main().BitBtn2);  // the stop was for that run only
    EXPECT_TRUE(dialogs.errorReports().isEmpty());
    EXPECT_EQ(testutil::bytesOf(file), plain);
}

TEST_F(CancelOperations, TheCloseBoxAsksAndClosesOnlyOnceTheOperationIsStopped) {
    const QString file = makeFile("doc.txt", kSize);
    const auto bytes = testutil::bytesOf(file);
    open(file);
    dialogs.answerNext(Answer::No);
    encryptHolding([&](int call) {
        if (call == 1) main().windowHandle()->close();
    });
    EXPECT_TRUE(main().isVisible()) << "not closed with the operation half done";
    EXPECT_EQ(VQ203::desifrovatelnost(file.toStdString()), VQ203::Normal) << "\"No\": the operation went on";
    ASSERT_FALSE(dialogs.messages().empty());
    EXPECT_EQ(dialogs.messages().front().text, QStringLiteral("Operace ještě běží. Zrušit ji a ukončit program?"));

    testutil::writeFile(file.toStdString(), bytes);
    open(file);
    dialogs.clear();
    dialogs.answerNext(Answer::Yes);
    encryptHolding([&](int call) {
        if (call == 1) main().windowHandle()->close();
    });
    EXPECT_EQ(testutil::bytesOf(file), bytes);
    EXPECT_EQ(dialogs.errorReports(), QStringList{kCancelledReport});
    EXPECT_EQ(dialogs.messages().size(), 2u) << "one question, one report";
    QCoreApplication::processEvents();
    EXPECT_FALSE(main().isVisible());
}

TEST_F(CancelOperations, TheOneWayQuestionSaysAStopCannotUndoIt) {
    const QString file = makeFile("doc.txt", kSize);
    const auto bytes = testutil::bytesOf(file);
    open(file);
    dialogs.answerNext(Answer::Yes);
    {
        testutil::HeldEngineCalls held([&](int) { QTest::mouseClick(stopButton(), Qt::LeftButton); });
        press(main().ToolButton6);
    }
    QStringList questions;
    for (const auto& shown : dialogs.messages())
        if (shown.icon == platform::Icon::Question) questions << shown.text;
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("nelze ho vrátit"))) << questions[0].toStdString();
    // Stopped before the first block was overwritten: nothing is destroyed yet.
    EXPECT_EQ(testutil::bytesOf(file), bytes);
    EXPECT_EQ(dialogs.errorReports(), QStringList{kCancelledReport});
}
