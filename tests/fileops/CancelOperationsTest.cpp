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

#include "app/Forms.h"
#include "app/Unit1.h"
#include "engine/VQ203.h"
#include "fileops/Unit4.h"
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
        EXPECT_TRUE(main().sifr->isVisible()) << "the key panel is back, ready to start again";
        EXPECT_EQ(main().Edit1->text(), QStringLiteral("klíč"));
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

// The decryption's calls: the key check and the decryption itself can be stopped; once its result has replaced
// the file, the flag and fingerprint steps that follow complete and the decryption is reported as done.
TEST_F(CancelOperations, AStopDuringADecryptionLeavesTheFileOrCompletesItNeverAHalfState) {
    const QString file = makeFile("doc.txt", kSize);
    const auto plain = testutil::bytesOf(file);
    int stopped = 0, tooLate = 0;
    for (int stopAt = 1;; ++stopAt) {
        SCOPED_TRACE(stopAt);
        testutil::writeFile(file.toStdString(), plain);
        encrypt(file, QStringLiteral("klíč"));
        const auto encrypted = testutil::bytesOf(file);
        const auto entries = dir.entries();
        open(file);
        press(main().ToolButton8);
        type(main().edit4, QStringLiteral("klíč"));
        dialogs.clear();
        int calls = 0;
        {
            testutil::HeldEngineCalls held([&](int call) {
                if (call == stopAt) QTest::mouseClick(stopButton(), Qt::LeftButton);
            });
            click(main().BitBtn2);
            calls = held.calls();
        }
        if (calls < stopAt) break;
        EXPECT_EQ(dir.entries(), entries) << "no temporary left";
        if (testutil::bytesOf(file) == encrypted) {
            ++stopped;
            EXPECT_EQ(dialogs.errorReports(), QStringList{kCancelledReport});
            EXPECT_TRUE(main().desifr->isVisible()) << "the key panel is back, ready to start again";
            EXPECT_EQ(main().edit4->text(), QStringLiteral("klíč"));
            EXPECT_EQ(main().pb->value(), 0);
        } else {
            ++tooLate;
            EXPECT_EQ(testutil::bytesOf(file), plain) << "the complete result";
            EXPECT_TRUE(dialogs.errorReports().isEmpty());
            EXPECT_EQ(messagesCaptioned(QStringLiteral("Dešifrování dokončeno")),
                      QStringList{QStringLiteral("Soubor byl úspěšně dešifrován.")});
        }
        ASSERT_LT(stopAt, 10);
    }
    EXPECT_GT(stopped, 0);
    EXPECT_GT(tooLate, 0);
}

TEST_F(CancelOperations, EscStopsTheFingerprintWindowsFingerprint) {
    const QString file = makeFile("doc.txt", kSize);
    open(file);
    dialogs.clear();
    TForm4& window = *forms().Form4;
    {
        testutil::HeldEngineCalls held([&](int) { QTest::keyClick(&window, Qt::Key_Escape); });
        press(main().ToolButton21);
        EXPECT_EQ(held.calls(), 1);
    }
    EXPECT_EQ(dialogs.errorReports(), QStringList{kCancelledReport});
    EXPECT_TRUE(window.Edit1->text().isEmpty()) << "no fingerprint of half the file";
    EXPECT_EQ(main().pb->value(), 0);
    EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));

    dialogs.clear();
    press(main().ToolButton21);  // the stop was for that run only
    EXPECT_EQ(window.Edit1->text().toStdString(), testutil::sha256sum(file));
    EXPECT_TRUE(dialogs.errorReports().isEmpty());
}
