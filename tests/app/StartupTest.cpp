// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>

#include "app/Forms.h"
#include "app/Unit10.h"
#include "app/Unit9.h"
#include "engine/core/Magic.h"
#include "tests/app/ShellTestHelpers.h"
#include "tests/support/AppFixture.h"
#include "users/Unit12.h"

namespace {

using testutil::enabled;
using testutil::groupState;
using Group = TForm1::Group;

class StartupSequence : public testutil::AppFixture {};

TEST_F(StartupSequence, ElevenWindowsInOrderWithTheirCaptionsOnlyTheMainAndLoginShown) {
    start();
    const std::vector<std::pair<const char*, const char*>> expected{
        {"Form1", "Mivex 2 (2.0.1BETA)"},      {"Form2", "Klíč pro dešifrování"},
        {"Form3", "Generování klíče"},         {"Form4", "Hash souboru"},
        {"Form5", "Šifrování složky"},         {"Form6", "Výběr složky"},
        {"Form7", "Dešifrování složky"},       {"Form9", "Mivex Support Forum"},
        {"Form10", "Mivex"},                   {"Form11", "Manažer uživatelů"},
        {"Form12", "Příhlášení do programu Mivex 2"},
    };
    const auto& order = app->creationOrder();
    ASSERT_EQ(order.size(), expected.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(order[i]->objectName().toStdString(), expected[i].first);
        EXPECT_EQ(order[i]->windowTitle(), QString::fromUtf8(expected[i].second));
        EXPECT_TRUE(order[i]->isWindow());
        // The main window's show ran the login gate.
        EXPECT_EQ(order[i]->isVisible(), i == 0 || i == order.size() - 1) << expected[i].first;
        if (i > 0) {
            EXPECT_EQ(order[i]->windowFlags() & Qt::WindowType_Mask, Qt::Tool) << expected[i].first;
        }
    }
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Mivex2.0BETA"));
    // The task bar finds the installed desktop entry by this name and shows the program's own icon.
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("cz.mivex.mivex2"));
    const QList<QSize> iconSizes = main().windowIcon().availableSizes();
    EXPECT_TRUE(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(256, 256)));
}

TEST_F(StartupSequence, WindowSizesAndPlaces) {
    start();
    EXPECT_EQ(main().client->size(), QSize(540, 272));
    EXPECT_EQ(main().minimumSize(), main().maximumSize());
    EXPECT_FALSE(main().windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(main().windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(main().pos(), QPoint(229, 250));
    EXPECT_EQ(forms().Form9->size(), QSize(579, 544));
    EXPECT_EQ(forms().Form9->pos(), QPoint(320, 100));
    EXPECT_EQ(forms().Form9->WebBrowser1->geometry(), QRect(-64, 0, 641, 545));
    EXPECT_EQ(forms().Form10->size(), QSize(422, 216));
    EXPECT_EQ(forms().Form10->pos(), QPoint(0, 0));
    EXPECT_EQ(forms().Form10->Memo1->geometry(), QRect(160, 104, 254, 104));
}

TEST_F(StartupSequence, NoArgumentNothingOpenAndTheAssociationWritten) {
    start();
    EXPECT_EQ(main().sb->panelText(0), QString());
    EXPECT_EQ(main().velikost->text(), QStringLiteral("...."));
    EXPECT_EQ(main().stav->text(), QStringLiteral("...."));
    for (const char* button : {"ToolButton4", "ToolButton5", "ToolButton6", "ToolButton8", "ToolButton9",
                               "ToolButton11", "ToolButton20", "ToolButton21"})
        EXPECT_FALSE(enabled(main(), button)) << button;
    EXPECT_EQ(classesRoot.rows, platform::associationRows(programPath()));
    EXPECT_EQ(classesRoot.finished, 1);
    EXPECT_TRUE(dialogs.messages().empty());
    // Disabled until somebody logs in.
    EXPECT_FALSE(main().isEnabled());
}

TEST_F(StartupSequence, FileArgumentIsOpenedAsTheOpenDialogWould) {
    const QString file = makeFile("a.txt", 300);
    start({file});
    logIn();  // the login gate leaves the opened-file state as it was
    EXPECT_EQ(main().OpenDialog1.fileName(), file);
    EXPECT_EQ(main().sb->panelText(0), file);
    EXPECT_EQ(main().velikost->text(), QStringLiteral("2"));
    EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
    EXPECT_EQ(groupState(main(), Group::Encryption), "E");
    EXPECT_EQ(groupState(main(), Group::Decryption), "D");
    EXPECT_EQ(groupState(main(), Group::Fingerprint), "E");
    EXPECT_EQ(classesRoot.rows.size(), 4u);
}

TEST_F(StartupSequence, FileArgumentGivesTheStateOfOpeningItThroughTheDialog) {
    const QString file = makeFile("a.txt", 1000);
    start({file});
    logIn();
    const auto fromCommandLine = testutil::stateOf(main());
    app.reset();
    start();
    logIn();  // a user reaches the open dialog only after logging in
    dialogs.chooseNextFile(file);
    main().Otevt1->trigger();
    EXPECT_EQ(testutil::stateOf(main()), fromCommandLine);
}

TEST_F(StartupSequence, ARelativeArgumentIsMadeAbsoluteBeforeAnythingChangesTheWorkingFolder) {
    const QString file = makeFile("a.txt", 300);
    const QString package = makeFile("x.cff", 300);
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.path()));
    start({QStringLiteral("./a.txt")});
    QDir::setCurrent(QDir::rootPath());  // as pointing a folder window elsewhere does
    EXPECT_EQ(main().OpenDialog1.fileName(), file);
    EXPECT_EQ(main().sb->panelText(0), file);
    app.reset();
    QDir::setCurrent(QString::fromStdString(dir.path()));
    start({QStringLiteral("x.cff")});
    QDir::setCurrent(before);
    EXPECT_EQ(main().OpenDialog2.fileName(), package);
    EXPECT_EQ(main().sb->panelText(0), package);
}

TEST_F(StartupSequence, PackageArgumentOpensThePackageState) {
    const QString package = makeFile("x.cff", 1000);
    start({package});
    EXPECT_EQ(main().OpenDialog2.fileName(), package);
    EXPECT_EQ(main().OpenDialog1.fileName(), QString());
    EXPECT_EQ(main().sb->panelText(0), package);
    EXPECT_EQ(main().velikost->text(), QStringLiteral("7"));
    EXPECT_EQ(main().stav->text(), QStringLiteral("...."));
    EXPECT_EQ(groupState(main(), Group::PackageDecryption), "E");
    EXPECT_EQ(groupState(main(), Group::FolderEncryption), "D");
    EXPECT_EQ(groupState(main(), Group::Fingerprint), "D");
    for (const char* button : {"ToolButton4", "ToolButton5", "ToolButton6", "ToolButton8", "ToolButton9"})
        EXPECT_FALSE(enabled(main(), button)) << button;
    EXPECT_FALSE(forms().Form7 == nullptr);
    EXPECT_EQ(classesRoot.rows.size(), 4u);
}

// The desktop that starts the program with a package knows it by ".cff" in any case and by its content.
TEST_F(StartupSequence, ExtensionMatchIgnoresCase) {
    for (const char* name : {"X.CFF", "y.Cff"}) {
        const QString package = makeFile(name, 128);
        start({package});
        EXPECT_EQ(main().OpenDialog2.fileName(), package) << name;
        EXPECT_EQ(groupState(main(), Group::PackageDecryption), "E") << name;
        app.reset();
    }
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(StartupSequence, AFileWhoseContentIsAPackageOpensAsOneAfterAsking) {
    const auto& magic = engine::core::kMagicPackage;
    const QString package = QString::fromStdString(dir.file("balicek.txt"));
    testutil::writeFile(package.toStdString(), std::vector<unsigned char>(magic.begin(), magic.end()));
    dialogs.answerNext(platform::Answer::Yes);
    start({package});
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("Soubor \"balicek.txt\" je podle svého obsahu balíček "
                                                         "šifrované složky. Otevřít jej jako balíček?"));
    EXPECT_EQ(dialogs.messages()[0].buttons, platform::Buttons::YesNo);
    EXPECT_EQ(main().OpenDialog2.fileName(), package);
    EXPECT_EQ(groupState(main(), Group::PackageDecryption), "E");
    app.reset();

    dialogs.answerNext(platform::Answer::No);  // then it is the single file its name says
    start({package});
    EXPECT_EQ(main().OpenDialog1.fileName(), package);
    EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
}

TEST_F(StartupSequence, ANameWithoutThePackageExtensionIsAFile) {
    for (const char* name : {"nodot", "x.cff.txt", "cff"}) {
        const QString file = makeFile(name, 128);
        start({file});
        EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen")) << name;
        EXPECT_EQ(main().OpenDialog1.fileName(), file) << name;
        EXPECT_EQ(groupState(main(), Group::PackageDecryption), "D") << name;
        EXPECT_EQ(main().velikost->text(), QStringLiteral("1")) << name;
        app.reset();
    }
}

TEST_F(StartupSequence, OnlyTheFirstArgumentCounts) {
    const QString first = makeFile("first", 300);
    const QString second = makeFile("second.cff", 1000);
    start({first, second});
    EXPECT_EQ(main().sb->panelText(0), first);
    EXPECT_EQ(main().OpenDialog2.fileName(), QString());
}

TEST_F(StartupSequence, MissingFileIsReportedAndThatStartWritesNoAssociation) {
    const QString missing = QString::fromStdString(dir.file("missing.txt"));
    start({missing});
    EXPECT_EQ(dialogs.errorReports(), QStringList{QStringLiteral("File not found.")});
    EXPECT_TRUE(classesRoot.rows.empty());
    // What ran before the failure stays; the labels keep their first texts.
    EXPECT_TRUE(forms().Form12->isVisible());
    logIn();
    EXPECT_EQ(main().sb->panelText(0), missing);
    EXPECT_EQ(groupState(main(), Group::Encryption), "E");
    EXPECT_EQ(main().velikost->text(), QStringLiteral("...."));
    EXPECT_EQ(main().stav->text(), QStringLiteral("...."));
    // Start-up went on: every window exists and the main window waits for the login.
    EXPECT_EQ(app->creationOrder().size(), 11u);
    EXPECT_TRUE(main().isVisible());
}

TEST_F(StartupSequence, MissingPackageKeepsThePackageState) {
    const QString missing = QString::fromStdString(dir.file("gone.cff"));
    start({missing});
    EXPECT_EQ(dialogs.errorReports(), QStringList{QStringLiteral("File not found.")});
    EXPECT_TRUE(classesRoot.rows.empty());
    EXPECT_EQ(main().sb->panelText(0), missing);
    EXPECT_EQ(groupState(main(), Group::PackageDecryption), "E");
    EXPECT_EQ(main().velikost->text(), QStringLiteral("...."));
}

}  // namespace
