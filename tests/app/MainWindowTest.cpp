// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTest>
#include <QToolBar>
#include <QScreen>
#include <QToolButton>
#include <QWindow>

#include "app/Forms.h"
#include "app/Unit10.h"
#include "engine/VQ203.h"
#include "platform/QtPorts.h"
#include "platform/ToolWindow.h"
#include "tests/app/ShellTestHelpers.h"
#include "tests/support/AppFixture.h"
#include "users/Unit11.h"

namespace {

using testutil::enabled;
using testutil::groupState;
using Group = TForm1::Group;

class MainWindow : public testutil::AppFixture {
protected:
    void SetUp() override {
        start();
        logIn();
    }

    // Opens the file through the toolbar button, as a user does.
    void openThroughDialog(const QString& path) {
        dialogs.chooseNextFile(path);
        QTest::mouseClick(main().ToolBar1->widgetForAction(main().ToolButton2), Qt::LeftButton);
    }

    QString encryptedFile(const std::string& name, bool fastMethod) {
        const QString path = makeFile(name, 4000);
        QProgressBar bar;
        QWidget window;
        platform::ProgressBarPort pb(bar);
        platform::WindowPort port(window);
        if (fastMethod)
            VQ203::fastsifrovat(path.toStdString(), "klíč", pb, port);
        else
            VQ203::sifrovat(path.toStdString(), "klíč", pb, port);
        return path;
    }
};

TEST_F(MainWindow, LayoutStateAtStart) {
    // The five encryption and decryption submenus open although nothing is open; their entries are disabled.
    for (const char* submenu :
         {"ifrovnsezadnmkle1", "Statickifrovn1", "Jednosmrnifrovn1", "Deifrovnsezadnmkle1", "Statickdeifrovn1"})
        EXPECT_TRUE(enabled(main(), submenu)) << submenu;
    for (const char* entry : {"Soubor2", "Sloku1", "Soubor3", "Soubor4", "Soubor5", "Sloku4", "Soubor6",
                              "VQ1041", "VQ1051", "VQ1061", "VQ20101", "Vytvoithashsouboru1"})
        EXPECT_FALSE(enabled(main(), entry)) << entry;
    for (const char* always : {"Otevt1", "Sloku6", "Souborifrovansloky1", "ToolButton2", "ToolButton18",
                               "ToolButton23", "ToolButton28", "ToolButton17", "Generovatkl1", "ToolButton24",
                               "ToolButton25", "Oaplikaci1", "Mivexforum1", "VQ1x1"})
        EXPECT_TRUE(enabled(main(), always)) << always;
    EXPECT_FALSE(main().fast->isChecked());
    EXPECT_FALSE(main().sifr->isVisibleTo(&main()));
    EXPECT_FALSE(main().desifr->isVisibleTo(&main()));
    EXPECT_EQ(main().pb->parentWidget(), main().sb);
    EXPECT_EQ(main().pb->geometry(), QRect(441, 2, 98, main().sb->height() - 2));
    EXPECT_EQ(main().sb->panel(0)->width(), 440);
    EXPECT_TRUE(main().velikost->font().bold());
    EXPECT_EQ(main().velikost->palette().color(QPalette::WindowText), QColor(0, 128, 128));
}

TEST_F(MainWindow, EveryWindowOpensWhollyInsideItsScreen) {
    // Placed where a small or scaled screen ends, or beyond it: every window comes back inside as it is shown.
    const QRect area = main().screen()->availableGeometry();
    const QPoint outside[] = {area.bottomRight() - QPoint(20, 20), QPoint(-400, -300), area.topRight() + QPoint(900, 0)};
    std::vector<QWidget*> windows{&main()};
    for (QWidget* window : QApplication::topLevelWidgets())
        if (dynamic_cast<platform::ToolWindow*>(window))
            windows.push_back(window);
    ASSERT_GE(windows.size(), 10u);
    for (QWidget* window : windows)
        for (const QPoint& place : outside) {
            SCOPED_TRACE(window->objectName().toStdString());
            window->hide();
            window->move(place);
            window->show();
            QApplication::processEvents();  // the window is on the screen
            EXPECT_TRUE(area.contains(window->frameGeometry())) << place.x() << "," << place.y();
        }
}

TEST_F(MainWindow, CaptionsAndHintsAreExact) {
    const std::vector<std::pair<const char*, const char*>> menu{
        {"Statickifrovn1", "Statické šifrování "}, {"ifrovnsezadnmkle1", "Šifrování se zadáním klíče"},
        {"Jednosmrnifrovn1", "Jednosměrné šifrování"}, {"Deifrovnsezadnmkle1", "Dešifrování se zadáním klíče"},
        {"Souborifrovansloky1", "Soubor šifrované složky"}, {"Vytvoithashsouboru1", "Vytvořit hash souboru"},
        {"Deifrovatsezadnmkle1", "Dešifrovat se zadáním klíče"}, {"Zkontrolovatnovverze1", "Zkontrolovat nové verze"}};
    // As shown: the mnemonic mark "&" only underlines its letter.
    for (const auto& [name, caption] : menu)
        EXPECT_EQ(main().findChild<QAction*>(QString::fromLatin1(name))->text().remove(QLatin1Char('&')),
                  QString::fromUtf8(caption))
            << name;
    const std::vector<std::pair<const char*, const char*>> hints{
        {"ToolButton2", "Otevřít soubor"}, {"ToolButton18", "Otevřít složku"},
        {"ToolButton23", "Otevřít soubor šifrované složky"}, {"ToolButton28", "Manažer uživatelů"},
        {"ToolButton4", "Šifrovat soubor se zadáním klíče"}, {"ToolButton5", "Staticky širovat soubor"},
        {"ToolButton6", "Zničit soubor"}, {"ToolButton8", "Dešifrovat soubor se zadáním klíče"},
        {"ToolButton9", "Staticky dešifrovat soubor"}, {"ToolButton11", "Šifrovat složku"},
        {"ToolButton20", "Dešifrovat složku"}, {"ToolButton13", "Dešifrovat soubor bází VQ1.0.4"},
        {"ToolButton14", "Dešifrovat soubor bází VQ1.0.5"}, {"ToolButton15", "Dešifrovat soubor bází VQ1.0.6"},
        {"ToolButton19", "Dešifrovat soubor bází VQ2.0.1.0"}, {"ToolButton21", "Vytvořit otisk souboru"},
        {"ToolButton17", "Generovat klíč"}, {"ToolButton24", "Podpora"}, {"ToolButton25", "O programu Mivex"}};
    const QList<QAction*> buttons = main().ToolBar1->actions();
    QStringList order;
    for (QAction* action : buttons)
        if (!action->isSeparator()) order << action->objectName();
    ASSERT_EQ(order.size(), static_cast<int>(hints.size()));
    for (std::size_t i = 0; i < hints.size(); ++i) {
        EXPECT_EQ(order[static_cast<int>(i)].toStdString(), hints[i].first);
        EXPECT_EQ(main().findChild<QAction*>(QString::fromLatin1(hints[i].first))->toolTip(),
                  QString::fromUtf8(hints[i].second));
        EXPECT_FALSE(main().findChild<QAction*>(QString::fromLatin1(hints[i].first))->icon().isNull());
    }
    // Every button is inside the window, none pushed into an overflow menu.
    const QWidget* last = main().ToolBar1->widgetForAction(main().ToolButton25);
    EXPECT_LE(last->geometry().right(), main().ToolBar1->width());
}

TEST_F(MainWindow, OpeningAPlainFile) {
    const QString file = makeFile("plain.txt", 300);
    openThroughDialog(file);
    ASSERT_EQ(dialogs.openDialogs().size(), 1u);
    EXPECT_EQ(dialogs.openDialogs()[0].title, QString());
    EXPECT_EQ(dialogs.openDialogs()[0].filter, QString());
    EXPECT_EQ(main().OpenDialog1.fileName(), file);
    EXPECT_EQ(groupState(main(), Group::Encryption), "E");
    EXPECT_EQ(groupState(main(), Group::Decryption), "D");
    EXPECT_EQ(groupState(main(), Group::Fingerprint), "E");
    EXPECT_EQ(groupState(main(), Group::FolderEncryption), "D");
    EXPECT_EQ(groupState(main(), Group::PackageDecryption), "D");
    EXPECT_EQ(main().sb->panelText(0), file);
    EXPECT_EQ(main().velikost->text(), QStringLiteral("2"));
    EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
    // The menu's "Soubor" entries follow their toolbar twins and work.
    EXPECT_TRUE(enabled(main(), "Soubor2"));
    main().Soubor2->trigger();
    EXPECT_TRUE(main().sifr->isVisibleTo(&main()));
}

TEST_F(MainWindow, OpeningEncryptedFilesSetsTheFastMarkFromTheEngine) {
    const QString normal = encryptedFile("normal.bin", false);
    const QString quick = encryptedFile("fast.bin", true);
    ASSERT_EQ(VQ203::desifrovatelnost(normal.toStdString()), VQ203::Normal);
    ASSERT_EQ(VQ203::desifrovatelnost(quick.toStdString()), VQ203::Fast);

    openThroughDialog(quick);
    EXPECT_TRUE(main().fast->isChecked());
    EXPECT_EQ(groupState(main(), Group::Decryption), "E");
    EXPECT_EQ(groupState(main(), Group::Encryption), "D");
    EXPECT_EQ(groupState(main(), Group::Fingerprint), "E");
    EXPECT_TRUE(enabled(main(), "Soubor5"));
    EXPECT_TRUE(enabled(main(), "Soubor6"));

    openThroughDialog(normal);
    EXPECT_FALSE(main().fast->isChecked());
    EXPECT_EQ(groupState(main(), Group::Decryption), "E");
    EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
}

TEST_F(MainWindow, APlainFileAfterAnEncryptedOneIsOfferedNoDecryption) {
    openThroughDialog(encryptedFile("fast.bin", true));
    openThroughDialog(makeFile("plain.txt", 10));
    EXPECT_EQ(groupState(main(), Group::Decryption), "D");
    EXPECT_EQ(groupState(main(), Group::Encryption), "E");
    EXPECT_FALSE(main().fast->isChecked());
}

TEST_F(MainWindow, FolderStateOffersOnlyFolderOperationsAndTheMenuReachesThem) {
    openThroughDialog(makeFile("plain.txt", 10));
    main().slozka_open();
    EXPECT_EQ(groupState(main(), Group::FolderEncryption), "E");
    EXPECT_EQ(groupState(main(), Group::PackageDecryption), "E");
    EXPECT_EQ(groupState(main(), Group::Fingerprint), "D");
    for (const char* name : {"Statickifrovn1", "Jednosmrnifrovn1", "Statickdeifrovn1", "VQ1041", "ToolButton4",
                             "ToolButton8", "Soubor2", "Soubor5"})
        EXPECT_FALSE(enabled(main(), name)) << name;
    // The submenus that hold "Složku" stay open while it is offered.
    EXPECT_TRUE(enabled(main(), "ifrovnsezadnmkle1"));
    EXPECT_TRUE(enabled(main(), "Deifrovnsezadnmkle1"));

    // A file opened after the folder: the folder groups go, the file groups follow the engine.
    openThroughDialog(makeFile("next.txt", 10));
    EXPECT_EQ(groupState(main(), Group::FolderEncryption), "D");
    EXPECT_EQ(groupState(main(), Group::PackageDecryption), "D");
    EXPECT_EQ(groupState(main(), Group::Encryption), "E");
    EXPECT_EQ(groupState(main(), Group::Decryption), "D");
}

TEST_F(MainWindow, OpeningAPackageThroughItsDialog) {
    const QString package = makeFile("directory.cff", 1000);
    main().stav->setText(QStringLiteral("Soubor otevřen"));
    dialogs.chooseNextFile(package);
    QTest::mouseClick(main().ToolBar1->widgetForAction(main().ToolButton23), Qt::LeftButton);
    ASSERT_EQ(dialogs.openDialogs().size(), 1u);
    EXPECT_EQ(dialogs.openDialogs()[0].title, QStringLiteral("Otevřít soubor šifrované složky"));
    EXPECT_EQ(dialogs.openDialogs()[0].filter, QStringLiteral("Soubory šifrované složky (*.cff)"));
    EXPECT_EQ(main().OpenDialog2.fileName(), package);
    EXPECT_EQ(main().sb->panelText(0), package);
    EXPECT_EQ(main().velikost->text(), QStringLiteral("7"));
    EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
    EXPECT_EQ(groupState(main(), Group::PackageDecryption), "E");
    EXPECT_EQ(groupState(main(), Group::FolderEncryption), "D");
    EXPECT_FALSE(enabled(main(), "ifrovnsezadnmkle1"));
}

TEST_F(MainWindow, ResetAfterAFileOperation) {
    openThroughDialog(encryptedFile("fast.bin", true));
    main().loadfile();
    for (Group group : {Group::Encryption, Group::Decryption, Group::Fingerprint, Group::FolderEncryption,
                        Group::PackageDecryption})
        EXPECT_EQ(groupState(main(), group), "D");
    EXPECT_EQ(main().sb->panelText(0), QString());
    EXPECT_EQ(main().velikost->text(), QStringLiteral("..."));
    EXPECT_EQ(main().stav->text(), QStringLiteral("..."));
    EXPECT_TRUE(main().fast->isChecked());
    EXPECT_FALSE(main().OpenDialog1.fileName().isEmpty());
}

TEST_F(MainWindow, CancellingTheOpenDialogChangesNothing) {
    openThroughDialog(makeFile("plain.txt", 300));
    const auto before = testutil::stateOf(main());
    dialogs.cancelNextOpen();
    main().Otevt1->trigger();
    EXPECT_EQ(testutil::stateOf(main()), before);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(MainWindow, SizesInWholeBlocksOf128Bytes) {
    for (const auto& [size, blocks] : std::vector<std::pair<std::size_t, const char*>>{
             {0, "0"}, {127, "0"}, {128, "1"}, {255, "1"}, {300, "2"}}) {
        openThroughDialog(makeFile("f" + std::to_string(size), size));
        EXPECT_EQ(main().velikost->text().toStdString(), blocks) << size;
    }
}

TEST_F(MainWindow, FilesOf4GiBAndMoreShowTheirTrueSize) {
    const std::string path = dir.file("big.bin");
    testutil::writeFile(path, {});
    // Sparse where the file system can: no disk space is taken.
    std::filesystem::resize_file(path, (std::uintmax_t{5} << 30) + 200);
    openThroughDialog(QString::fromStdString(path));
    EXPECT_EQ(main().velikost->text(), QStringLiteral("41943041"));
}

TEST_F(MainWindow, UnreadableFileIsReportedAndTheLabelsKeepTheirTexts) {
    openThroughDialog(makeFile("plain.txt", 300));
    const QString missing = QString::fromStdString(dir.file("typed-name"));
    openThroughDialog(missing);
    EXPECT_EQ(dialogs.errorReports(), QStringList{QStringLiteral("File not found.")});
    EXPECT_EQ(main().sb->panelText(0), missing);
    EXPECT_EQ(main().velikost->text(), QStringLiteral("2"));
    EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));

    openThroughDialog(QString::fromStdString(dir.path()));
    EXPECT_EQ(dialogs.errorReports().back(), QStringLiteral("File access denied."));
}

TEST_F(MainWindow, AboutAndUserManagerOpenWithoutBlocking) {
    main().move(500, 300);
    QTest::mouseClick(main().ToolBar1->widgetForAction(main().ToolButton25), Qt::LeftButton);
    EXPECT_TRUE(forms().Form10->isVisible());
    QApplication::processEvents();
    // In the screen's corner, its frame on the screen.
    EXPECT_EQ(forms().Form10->windowHandle()->framePosition(), QPoint(0, 0));
    forms().Form10->close();
    EXPECT_FALSE(forms().Form10->isVisible());
    main().Oaplikaci1->trigger();
    EXPECT_TRUE(forms().Form10->isVisible());
    const QStringList about = forms().Form10->Memo1->toPlainText().split(QLatin1Char('\n'));
    ASSERT_EQ(about.size(), 6);
    // The terms line names the licence and fits the memo's width on one line.
    EXPECT_EQ(about[4], QStringLiteral("Licence GNU GPL 3 a novější"));
    EXPECT_LT(QFontMetrics(forms().Form10->Memo1->font()).horizontalAdvance(about[4]),
              forms().Form10->Memo1->viewport()->width());
    EXPECT_EQ(forms().Form10->version->text(), QStringLiteral("verze 2.0.1BETA"));

    QTest::mouseClick(main().ToolBar1->widgetForAction(main().ToolButton28), Qt::LeftButton);
    EXPECT_TRUE(forms().Form11->isVisible());
    EXPECT_TRUE(main().isEnabled());
    EXPECT_FALSE(forms().Form11->isModal());
}

}  // namespace

namespace {

// The state texts of the operations, the longest a user sees, are drawn whole, as is a long user name.
TEST_F(MainWindow, StateAndUserLabelsShowTheirLongestTextsWhole) {
    const QString longest[] = {QStringLiteral("Soubor je dešifrován, Chyba!!"),
                               QStringLiteral("Vytváření otisku souboru.."), QStringLiteral("!!Chyba!! Soubor poškozen"),
                               QStringLiteral("Připraveno k šifrování")};
    for (const QString& text : longest) {
        main().stav->setText(text);
        EXPECT_GE(main().stav->width(), main().stav->fontMetrics().horizontalAdvance(text)) << text.toStdString();
    }
    const QString name = QStringLiteral("Bohumila Nováková-Šťastná");
    main().user->setText(name);
    EXPECT_GE(main().user->width(), main().user->fontMetrics().horizontalAdvance(name));
}

}  // namespace
