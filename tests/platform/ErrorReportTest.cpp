// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>

#include "engine/Ports.h"
#include "platform/ErrorReport.h"
#include "platform/OpenDialog.h"
#include "platform/RuntimeError.h"
#include "tests/support/ScriptedDialogs.h"

namespace {

using platform::guard;

TEST(ErrorReport, FullStopIsAddedOnlyWhenMissing) {
    EXPECT_EQ(platform::errorReportText(QStringLiteral("File not found")), QStringLiteral("File not found."));
    EXPECT_EQ(platform::errorReportText(QStringLiteral("Hotovo.")), QStringLiteral("Hotovo."));
}

TEST(ErrorReport, GuardTurnsEveryKindOfFailureIntoTheReport) {
    testutil::ScriptedDialogs dialogs;
    guard([] { throw engine::Error("Špatný klíč, soubor zůstal beze změny"); });
    guard([] { throw platform::fileError(ENOENT); });
    guard([] { throw std::runtime_error("disk gone."); });
    guard([] { throw 42; });
    ASSERT_EQ(dialogs.messages().size(), 4u);
    const auto& first = dialogs.messages()[0];
    EXPECT_EQ(first.caption, QStringLiteral("Mivex2.0BETA"));
    EXPECT_EQ(first.icon, platform::Icon::Error);
    EXPECT_EQ(first.buttons, platform::Buttons::Ok);
    EXPECT_EQ(dialogs.errorReports(),
              (QStringList{QStringLiteral("Špatný klíč, soubor zůstal beze změny."), QStringLiteral("File not found."),
                           QStringLiteral("disk gone."), QStringLiteral("Unknown error.")}));
}

TEST(ErrorReport, FailureAbandonsTheRestOfTheHandlerOnly) {
    testutil::ScriptedDialogs dialogs;
    int steps = 0;
    guard([&] {
        ++steps;
        throw platform::fileError(EACCES);
        ++steps;  // never reached
    });
    guard([&] { ++steps; });
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(dialogs.errorReports(), QStringList{QStringLiteral("File access denied.")});
}

// A handler that forgot its guard still ends in the report, not in a crash.
TEST(ErrorReport, EventLoopStopsWhatEscapesAnEventHandler) {
    testutil::ScriptedDialogs dialogs;
    class Throwing : public QObject {
    protected:
        void customEvent(QEvent*) override { throw platform::fileError(EMFILE); }
    } receiver;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &event);
    EXPECT_EQ(dialogs.errorReports(), QStringList{QStringLiteral("Too many open files.")});
}

TEST(OpenDialog, ConfirmedNameIsKeptAndHookRuns) {
    testutil::ScriptedDialogs dialogs;
    platform::OpenDialog dialog(QStringLiteral("Titul"), QStringLiteral("Soubory (*.cff)"));
    QString seen;
    dialogs.chooseNextFile(QStringLiteral("/tmp/a.cff"));
    EXPECT_TRUE(dialog.execute([&] { seen = dialog.fileName(); }));
    EXPECT_EQ(seen, QStringLiteral("/tmp/a.cff"));
    ASSERT_EQ(dialogs.openDialogs().size(), 1u);
    EXPECT_EQ(dialogs.openDialogs()[0].title, QStringLiteral("Titul"));
    EXPECT_EQ(dialogs.openDialogs()[0].filter, QStringLiteral("Soubory (*.cff)"));

    dialogs.cancelNextOpen();
    EXPECT_FALSE(dialog.execute([&] { seen = QStringLiteral("hook ran"); }));
    EXPECT_EQ(dialog.fileName(), QStringLiteral("/tmp/a.cff"));
    EXPECT_EQ(seen, QStringLiteral("/tmp/a.cff"));
    // The next run starts on the last name.
    dialogs.cancelNextOpen();
    dialog.execute([] {});
    EXPECT_EQ(dialogs.openDialogs().back().initialFileName, QStringLiteral("/tmp/a.cff"));
}

TEST(OpenDialog, FailingHookIsReportedAndTheDialogStillCloses) {
    testutil::ScriptedDialogs dialogs;
    platform::OpenDialog dialog;
    dialogs.chooseNextFile(QStringLiteral("/nowhere/x"));
    EXPECT_TRUE(dialog.execute([] { throw platform::fileError(ENOENT); }));
    EXPECT_EQ(dialogs.errorReports(), QStringList{QStringLiteral("File not found.")});
}

}  // namespace
