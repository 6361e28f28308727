// SPDX-License-Identifier: GPL-3.0-or-later
// The folder windows driven as a user drives them, with the real folder library behind them: choosing a
// folder, encrypting it, opening its package and decrypting it.
#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "app/Forms.h"
#include "engine/vq202/Messages.h"
#include "folders/DirectoryListBox.h"
#include "folders/DriveComboBox.h"
#include "folders/TreeContents.h"
#include "folders/Unit5.h"
#include "folders/Unit6.h"
#include "folders/Unit7.h"
#include "platform/FileListBox.h"
#include "platform/RuntimeError.h"
#include "platform/StatusBar.h"
#include "tests/app/ShellTestHelpers.h"
#include "tests/support/AppFixture.h"
#include "tests/support/HeldEngineCalls.h"

namespace {

using testutil::groupState;
using Group = TForm1::Group;
namespace msg = VQ202::msg;

QString q(const std::string& text) { return QString::fromStdString(text); }

QListWidgetItem* lineFor(const DirectoryListBox& list, const QString& folder) {
    for (int row = 0; row < list.count(); ++row)
        if (DirectoryListBox::folderOf(*list.item(row)) == folder) return list.item(row);
    ADD_FAILURE() << "no line for " << folder.toStdString();
    return nullptr;
}

class FolderWindows : public testutil::AppFixture {
protected:
    void SetUp() override {
        start();
        // As after a successful login: the main window and the tool windows it owns are usable.
        main().setEnabled(true);
        std::filesystem::create_directory(dir.file("sub"));
        std::filesystem::create_directory(dir.file("other"));
    }
    TForm5& form5() const { return *forms().Form5; }
    TForm6& form6() const { return *forms().Form6; }
    TForm7& form7() const { return *forms().Form7; }

    // As a user does: pick the drive that holds `folder` (the start drive may be the home folder), then
    // open `folder` in the directory list.
    void openInFolderWindow(const QString& folder) {
        DriveComboBox& drives = *form6().DriveComboBox1;
        drives.setCurrentIndex(drives.findData(drives.driveOf(folder)));
        form6().DirectoryListBox1->setDirectory(folder);
    }
    // Through the folder-selection window: open `folder` in the directory list and press OK.
    void chooseFolder(const QString& folder) {
        main().ToolButton18->trigger();
        openInFolderWindow(folder);
        QTest::mouseClick(form6().Button1, Qt::LeftButton);
    }
    void encryptWithKey(const QString& key) {
        main().ToolButton11->trigger();
        form5().Edit1->setText(key);
        QTest::mouseClick(form5().BitBtn1, Qt::LeftButton);
    }
    const testutil::ShownMessage& lastMessage() const { return dialogs.messages().back(); }
    // A folder of two files, large enough for a few steps of work, chosen; its entries as they were.
    std::vector<std::string> chooseFolderOfTwoFiles() {
        makeFile("a.txt", 300000);
        makeFile("b.txt", 300000);
        chooseFolder(q(dir.path()));
        return dir.entries();
    }
};

TEST_F(FolderWindows, OkTakesTheHighlightedFolderWhichTheWindowShows) {
    main().ToolButton18->trigger();
    EXPECT_TRUE(form6().isVisible());
    DirectoryListBox& list = *form6().DirectoryListBox1;
    openInFolderWindow(q(dir.path()));
    EXPECT_EQ(form6().chosenFolder->toolTip(), q(dir.path()));  // the opened folder, until another is highlighted
    QListWidgetItem* sub = lineFor(list, q(dir.file("sub")));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(sub).center());
    EXPECT_EQ(list.directory(), q(dir.path()));  // one click only highlights
    EXPECT_EQ(form6().chosenFolder->toolTip(), q(dir.file("sub")));
    EXPECT_TRUE(form6().chosenFolder->text().endsWith(QStringLiteral("sub")));
    QTest::mouseClick(form6().Button1, Qt::LeftButton);
    EXPECT_EQ(main().sb->panelText(0), q(dir.file("sub")));
    EXPECT_FALSE(form6().isVisible());

    // Reopened, the window shows the folder taken, opened and highlighted.
    main().ToolButton18->trigger();
    EXPECT_EQ(list.directory(), q(dir.file("sub")));
    EXPECT_EQ(DirectoryListBox::folderOf(*list.currentItem()), q(dir.file("sub")));
    EXPECT_EQ(form6().chosenFolder->toolTip(), q(dir.file("sub")));

    list.setCurrentItem(lineFor(list, q(dir.path())));
    QTest::keyClick(&list, Qt::Key_Return);  // Enter opens the highlighted line: back up one level
    EXPECT_EQ(list.directory(), q(dir.path()));
    const QPoint onOther = list.visualItemRect(lineFor(list, q(dir.file("other")))).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, onOther);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, onOther);
    EXPECT_EQ(list.directory(), q(dir.file("other")));
    QTest::mouseClick(form6().Button1, Qt::LeftButton);
    EXPECT_EQ(main().sb->panelText(0), q(dir.file("other")));
}

TEST_F(FolderWindows, TheKeyboardStartsInTheFolderListAndAltOPressesOk) {
    main().ToolButton18->trigger();
    EXPECT_EQ(form6().focusWidget(), form6().DirectoryListBox1);
    openInFolderWindow(q(dir.path()));
    DirectoryListBox& list = *form6().DirectoryListBox1;
    list.setCurrentItem(lineFor(list, q(dir.file("sub"))));
    form6().activateWindow();  // the keys go where the user works
    QApplication::processEvents();
    QTest::keyClick(&list, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(main().sb->panelText(0), q(dir.file("sub")));
    EXPECT_FALSE(form6().isVisible());

    // The key window's mnemonics hold too: Alt+G fills the key.
    main().ToolButton11->trigger();
    form5().activateWindow();
    QApplication::processEvents();
    QTest::keyClick(form5().Edit1, Qt::Key_G, Qt::AltModifier);
    EXPECT_FALSE(form5().Edit1->text().isEmpty());
}

TEST_F(FolderWindows, DirectoryListShowsThePathDownThenTheSubfolders) {
    DirectoryListBox& list = *form6().DirectoryListBox1;
    list.setDrive(QStringLiteral("/"));
    list.setDirectory(q(dir.path()));
    QStringList folders;
    for (int row = 0; row < list.count(); ++row) folders << DirectoryListBox::folderOf(*list.item(row));
    const QStringList steps = q(dir.path()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    ASSERT_EQ(folders.size(), steps.size() + 1 + 2);
    EXPECT_EQ(folders.front(), QStringLiteral("/"));
    EXPECT_EQ(folders[steps.size()], q(dir.path()));
    EXPECT_EQ(folders.mid(steps.size() + 1), (QStringList{q(dir.file("other")), q(dir.file("sub"))}));
    EXPECT_EQ(list.currentItem(), list.item(static_cast<int>(steps.size())));
}

TEST_F(FolderWindows, DrivesAreTheHomeFolderAndBrowsableFileSystems) {
    DriveComboBox& drives = *form6().DriveComboBox1;
    QStringList roots;
    for (int i = 0; i < drives.count(); ++i) roots << drives.itemData(i).toString();
    EXPECT_EQ(roots.front(), QDir::homePath());
    EXPECT_TRUE(roots.contains(QStringLiteral("/")));
    EXPECT_FALSE(roots.contains(QStringLiteral("/proc")));
    EXPECT_FALSE(roots.contains(QStringLiteral("/sys")));

    // Changing the drive shows that drive's current folder, and coming back shows the one left there.
    DirectoryListBox& list = *form6().DirectoryListBox1;
    drives.setCurrentIndex(0);
    const QString leftAtHome = list.directory();  // the working folder when that lies in the home folder
    EXPECT_TRUE(leftAtHome == QDir::homePath() || leftAtHome.startsWith(QDir::homePath() + QLatin1Char('/')));
    drives.setCurrentIndex(static_cast<int>(roots.indexOf(QStringLiteral("/"))));
    list.setDirectory(q(dir.path()));
    drives.setCurrentIndex(0);
    EXPECT_EQ(list.directory(), leftAtHome);
    drives.setCurrentIndex(static_cast<int>(roots.indexOf(QStringLiteral("/"))));
    EXPECT_EQ(list.directory(), q(dir.path()));
}

TEST_F(FolderWindows, AcceptingAFolderEntersTheFolderState) {
    chooseFolder(q(dir.path()));
    EXPECT_EQ(main().velikost->text(), QStringLiteral("Složka"));
    EXPECT_EQ(main().stav->text(), QStringLiteral("Připraveno k šifrování"));
    EXPECT_EQ(groupState(main(), Group::FolderEncryption), "E");
    EXPECT_EQ(groupState(main(), Group::PackageDecryption), "D");
    EXPECT_EQ(groupState(main(), Group::Fingerprint), "D");
    for (const char* fileOperation : {"ToolButton4", "ToolButton5", "ToolButton6", "ToolButton8", "ToolButton9"})
        EXPECT_FALSE(testutil::enabled(main(), fileOperation)) << fileOperation;
}

TEST_F(FolderWindows, FileListHoldsThePlainVisibleFilesSortedWithoutCase) {
    for (const char* name : {"b.txt", "A.txt", "c.TXT", ".skrytý", "žena.txt"}) makeFile(name, 10);
    makeFile("sub/uvnitř", 10);
    std::filesystem::create_symlink("b.txt", dir.file("odkaz"));
    chooseFolder(q(dir.path()));
    main().ToolButton11->trigger();
    EXPECT_TRUE(form5().isVisible());
    EXPECT_EQ(form5().slozka->text(), q(dir.path()));
    EXPECT_EQ(form5().FileListBox->fileNames(),
              (QStringList{"A.txt", "b.txt", "c.TXT", QStringLiteral("žena.txt")}));
    EXPECT_EQ(QDir::currentPath(), q(dir.path()));
}

TEST_F(FolderWindows, OkWaitsForAKeyAndGenFillsOne) {
    chooseFolder(q(dir.path()));
    main().ToolButton11->trigger();
    EXPECT_FALSE(form5().BitBtn1->isEnabled());
    QTest::keyClicks(form5().Edit1, "k");
    EXPECT_TRUE(form5().BitBtn1->isEnabled());
    form5().Edit1->clear();
    EXPECT_TRUE(form5().BitBtn1->isEnabled());  // stays enabled once the key field held text
    QTest::mouseClick(form5().Button1, Qt::LeftButton);
    EXPECT_GE(form5().Edit1->text().size(), 52);
}

TEST_F(FolderWindows, EncryptingPacksTheFilesAndSaysSo) {
    makeFile("a.txt", 5000);
    makeFile(".skrytý", 10);
    chooseFolder(q(dir.path()));
    dialogs.answerNext(platform::Answer::No);  // Ne: the subfolders stay out
    encryptWithKey(QStringLiteral("klíč"));
    // Left out: the hidden file and the two subfolders.
    EXPECT_EQ(lastMessage().text, QStringLiteral("Šifrování složky bylo úspěšně provedeno. 3 položky složky zůstaly "
                                                 "nešifrovány: podsložky, skryté soubory, odkazy a jména s řídicími znaky se nešifrují."));
    EXPECT_EQ(lastMessage().caption, QStringLiteral("Šifrování dokončeno"));
    EXPECT_EQ(lastMessage().icon, platform::Icon::Information);
    EXPECT_FALSE(form5().isVisible());
    EXPECT_TRUE(std::filesystem::exists(dir.file("directory.cff")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.txt")));
    EXPECT_TRUE(std::filesystem::exists(dir.file(".skrytý")));
    EXPECT_EQ(form5().pb1->value(), 100);
    EXPECT_EQ(form5().soubor->text(), QStringLiteral("a.txt"));
    EXPECT_EQ(main().stav->text(), QStringLiteral("Připraveno k šifrování"));  // the main window is not changed

    main().ToolButton11->trigger();  // again: the earlier key is still there, the package is listed
    EXPECT_EQ(form5().Edit1->text(), QStringLiteral("klíč"));
    EXPECT_EQ(form5().FileListBox->fileNames(), QStringList{"directory.cff"});
}

TEST_F(FolderWindows, AFolderWithSubfoldersAsksWhetherTheyGoTooAndZrusitDoesNothing) {
    makeFile("a.txt", 100);
    makeFile(".skrytý", 10);
    makeFile("sub/b.txt", 10);
    std::filesystem::create_directories(dir.file("sub/hlubší/nejhlubší"));
    makeFile("sub/hlubší/.c", 10);
    std::filesystem::create_directory_symlink(dir.file("sub"), dir.file("other/odkaz"));  // not followed
    const auto before = testutil::readFile(dir.file("a.txt"));
    chooseFolder(q(dir.path()));
    main().ToolButton11->trigger();
    QTest::keyClicks(form5().Edit1, "k");

    dialogs.answerNext(platform::Answer::Cancel);
    QTest::mouseClick(form5().BitBtn1, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages().size(), 1u);  // the question alone: nothing was done, nothing to tell
    // sub, sub/hlubší, sub/hlubší/nejhlubší, other; sub/b.txt, sub/hlubší/.c and the link other/odkaz.
    EXPECT_EQ(lastMessage().text, QStringLiteral("Složka obsahuje podsložky (3 soubory ve 4 složkách). Zašifrovat i je?"));
    EXPECT_EQ(lastMessage().caption, QStringLiteral("Šifrování složky"));
    EXPECT_EQ(lastMessage().buttons, platform::Buttons::YesNoCancel);
    EXPECT_TRUE(form5().isVisible());
    EXPECT_EQ(testutil::readFile(dir.file("a.txt")), before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("directory.cff")));

    // Ano: the whole tree goes, and what stays out is named.
    dialogs.answerNext(platform::Answer::Yes);
    QTest::mouseClick(form5().BitBtn1, Qt::LeftButton);
    EXPECT_EQ(lastMessage().caption, QStringLiteral("Šifrování dokončeno"));
    EXPECT_EQ(lastMessage().text, treeEncryptedText({".skrytý", "other/odkaz", "sub/hlubší/.c"}));
    EXPECT_TRUE(std::filesystem::exists(dir.file("directory.cff")));
    for (const char* gone : {"a.txt", "sub/b.txt", "sub/hlubší/nejhlubší"})
        EXPECT_FALSE(std::filesystem::exists(dir.file(gone))) << gone;
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("other/odkaz")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("sub/hlubší/.c")));
}

TEST_F(FolderWindows, AFolderWithoutFilesStillGetsItsPackage) {
    chooseFolder(q(dir.file("sub")));
    main().ToolButton11->trigger();
    EXPECT_TRUE(form5().FileListBox->fileNames().isEmpty());
    form5().Edit1->setText(QStringLiteral("k"));
    QTest::mouseClick(form5().BitBtn1, Qt::LeftButton);
    EXPECT_EQ(lastMessage().text, QStringLiteral("Šifrování složky bylo úspěšně provedeno."));
    EXPECT_TRUE(std::filesystem::exists(dir.file("sub/directory.cff")));
}

TEST_F(FolderWindows, EncryptionFailureIsShownAsChybaAndChangesNothing) {
    makeFile("a.txt", 100);
    chooseFolder(q(dir.path()));
    main().ToolButton11->trigger();
    QTest::keyClicks(form5().Edit1, "k");
    form5().Edit1->clear();  // OK stays enabled and passes the empty key
    dialogs.answerNext(platform::Answer::No);
    QTest::mouseClick(form5().BitBtn1, Qt::LeftButton);
    EXPECT_EQ(lastMessage().text, q(msg::kEmptyKey));
    EXPECT_EQ(lastMessage().caption, QStringLiteral("Chyba"));
    EXPECT_EQ(lastMessage().icon, platform::Icon::Error);
    EXPECT_TRUE(form5().isVisible());
    EXPECT_TRUE(std::filesystem::exists(dir.file("a.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("directory.cff")));
}

TEST_F(FolderWindows, StoppingTheEncryptionLeavesTheFolderAsItWas) {
    const auto entries = chooseFolderOfTwoFiles();
    dialogs.answerNext(platform::Answer::No);  // Ne: the subfolders stay out
    {
        testutil::HeldEngineCalls held([&](int) {
            QPushButton* stop = form5().findChild<QPushButton*>(QStringLiteral("Zrusit"));
            ASSERT_NE(stop, nullptr);
            EXPECT_TRUE(stop->isVisible());
            QTest::mouseClick(stop, Qt::LeftButton);
        });
        encryptWithKey(QStringLiteral("klíč"));
        EXPECT_GT(held.calls(), 0);
    }
    EXPECT_EQ(lastMessage().text, q(msg::kCancelled));
    EXPECT_EQ(lastMessage().caption, QStringLiteral("Chyba"));
    EXPECT_EQ(dir.entries(), entries) << "every original, no package, no temporary";
    EXPECT_TRUE(form5().isVisible());
    EXPECT_FALSE(form5().findChild<QPushButton*>(QStringLiteral("Zrusit"))->isVisible());
}

TEST_F(FolderWindows, TheCloseBoxOfTheFolderWindowAsksAndClosesItOnceTheWorkIsStopped) {
    const auto entries = chooseFolderOfTwoFiles();
    dialogs.answerNext(platform::Answer::No);   // Ne: the subfolders stay out
    dialogs.answerNext(platform::Answer::Yes);  // stop and close
    {
        testutil::HeldEngineCalls held([&](int call) {
            if (call == 1) form5().windowHandle()->close();
        });
        encryptWithKey(QStringLiteral("klíč"));
    }
    const auto& shown = dialogs.messages();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[shown.size() - 2].text, QStringLiteral("Operace ještě běží. Zrušit ji a zavřít okno?"));
    EXPECT_EQ(lastMessage().text, q(msg::kCancelled));
    EXPECT_EQ(dir.entries(), entries) << "every original, no package, no temporary";
    QCoreApplication::processEvents();
    EXPECT_FALSE(form5().isVisible());
    EXPECT_TRUE(main().isVisible()) << "only the window whose close box was used";
}

TEST_F(FolderWindows, EscStopsTheRestoreAndLeavesThePackageAlone) {
    chooseFolderOfTwoFiles();
    dialogs.answerNext(platform::Answer::No);
    encryptWithKey(QStringLiteral("klíč"));
    const QString package = q(dir.file("directory.cff"));
    const auto entries = dir.entries();
    const auto packed = testutil::readFile(dir.file("directory.cff"));
    dialogs.chooseNextFile(package);
    main().ToolButton23->trigger();
    main().ToolButton20->trigger();
    ASSERT_TRUE(form7().isVisible());
    form7().ecode->setText(QStringLiteral("klíč"));
    {
        testutil::HeldEngineCalls held([&](int) { QTest::keyClick(form7().ecode, Qt::Key_Escape); });
        QTest::mouseClick(form7().BitBtn1, Qt::LeftButton);
        EXPECT_GT(held.calls(), 0);
    }
    EXPECT_EQ(lastMessage().text, QStringLiteral("Operace byla zrušena, složka zůstala beze změny"));
    EXPECT_EQ(dir.entries(), entries) << "the package alone: nothing restored, no temporary";
    EXPECT_EQ(testutil::readFile(dir.file("directory.cff")), packed);
    EXPECT_TRUE(form7().isVisible());
    EXPECT_EQ(form7().ecode->text(), QStringLiteral("klíč"));
}

TEST_F(FolderWindows, AFolderThatIsGoneIsReportedAndTheWindowStaysClosed) {
    chooseFolder(q(dir.file("sub")));
    std::filesystem::remove(dir.file("sub"));
    main().ToolButton11->trigger();
    EXPECT_EQ(dialogs.errorReports(), QStringList{"File not found."});
    EXPECT_FALSE(form5().isVisible());
}

TEST_F(FolderWindows, IntHashOfTheWindow) {
    testutil::writeFile(dir.file("abc"), {'a', 'b', 'c'});
    std::string hash;
    form5().IntHash(dir.file("abc"), hash);
    EXPECT_EQ(hash, "1862b5");
    EXPECT_THROW(form5().IntHash(dir.file("není"), hash), platform::RuntimeError);
    EXPECT_EQ(hash, "1862b5");
}

TEST_F(FolderWindows, PackageIsOpenedAndDecryptedAfterAWrongKey) {
    makeFile("a.txt", 70000);
    const auto original = testutil::readFile(dir.file("a.txt"));
    chooseFolder(q(dir.path()));
    dialogs.answerNext(platform::Answer::No);
    encryptWithKey(QStringLiteral("správný"));
    const QString package = q(dir.file("directory.cff"));

    dialogs.chooseNextFile(package);
    main().ToolButton23->trigger();
    EXPECT_EQ(dialogs.openDialogs().back().title, QStringLiteral("Otevřít soubor šifrované složky"));
    EXPECT_EQ(main().sb->panelText(0), package);
    EXPECT_EQ(main().velikost->text(), QString::number(std::filesystem::file_size(dir.file("directory.cff")) / 128));
    EXPECT_EQ(groupState(main(), Group::FolderEncryption), "D");
    EXPECT_EQ(groupState(main(), Group::PackageDecryption), "E");

    main().ToolButton20->trigger();
    EXPECT_TRUE(form7().isVisible());
    EXPECT_EQ(form7().slozka->text(), package);
    EXPECT_FALSE(form7().BitBtn1->isEnabled());
    QTest::keyClicks(form7().ecode, "spatny");
    EXPECT_TRUE(form7().BitBtn1->isEnabled());
    QTest::mouseClick(form7().BitBtn1, Qt::LeftButton);
    EXPECT_EQ(lastMessage().text, q(msg::kWrongKey));
    EXPECT_EQ(lastMessage().caption, QStringLiteral("Chyba"));
    EXPECT_EQ(form7().pb1->value(), 0);
    EXPECT_EQ(form7().pb2->value(), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("directory.cff")));

    form7().ecode->setText(QStringLiteral("správný"));
    QTest::keyClick(form7().ecode, Qt::Key_Return);  // Enter presses OK; the old error does not stay
    EXPECT_EQ(lastMessage().text, QStringLiteral("Složka byla úspěšně obnovena a dešifrována."));
    EXPECT_EQ(lastMessage().caption, QStringLiteral("Dešifrování dokončeno"));
    EXPECT_EQ(lastMessage().icon, platform::Icon::Information);
    EXPECT_TRUE(form7().ErrorMsg->text().isEmpty());
    EXPECT_EQ(form7().pb1->value(), 0);
    EXPECT_EQ(form7().pbf->value(), 100);
    EXPECT_TRUE(form7().isVisible());
    EXPECT_EQ(testutil::readFile(dir.file("a.txt")), original);
    EXPECT_FALSE(std::filesystem::exists(dir.file("directory.cff")));
}

TEST_F(FolderWindows, ANewKeyTypedForTheNextFolderReplacesTheKeptOne) {
    makeFile("sub/a.txt", 300);
    makeFile("other/b.txt", 300);
    const auto a = testutil::readFile(dir.file("sub/a.txt"));
    const auto b = testutil::readFile(dir.file("other/b.txt"));
    chooseFolder(q(dir.file("sub")));
    main().ToolButton11->trigger();
    QTest::keyClicks(form5().Edit1, "abc");
    QTest::mouseClick(form5().BitBtn1, Qt::LeftButton);

    chooseFolder(q(dir.file("other")));
    main().ToolButton11->trigger();
    EXPECT_EQ(form5().Edit1->selectedText(), QStringLiteral("abc"));  // Enter would reuse it, typing replaces it
    EXPECT_EQ(form5().focusWidget(), form5().Edit1);
    QTest::keyClicks(form5().Edit1, "k1");
    QTest::mouseClick(form5().BitBtn1, Qt::LeftButton);

    // The second package opens with exactly the new key, typed first; the first one then with the old key
    // typed over the kept new one in the masked field.
    for (const auto& [folder, key] : {std::pair{"other", "k1"}, std::pair{"sub", "abc"}}) {
        dialogs.chooseNextFile(q(dir.file(std::string(folder) + "/directory.cff")));
        main().ToolButton23->trigger();
        main().ToolButton20->trigger();
        EXPECT_EQ(form7().focusWidget(), form7().ecode);
        QTest::keyClicks(form7().ecode, key);
        QTest::mouseClick(form7().BitBtn1, Qt::LeftButton);
        EXPECT_TRUE(form7().ErrorMsg->text().isEmpty()) << folder << ": " << form7().ErrorMsg->text().toStdString();
    }
    EXPECT_EQ(testutil::readFile(dir.file("sub/a.txt")), a);
    EXPECT_EQ(testutil::readFile(dir.file("other/b.txt")), b);
}

TEST_F(FolderWindows, ControlsCarryTheirCaptions) {
    EXPECT_EQ(form5().windowTitle(), QStringLiteral("Šifrování složky"));
    EXPECT_EQ(form6().windowTitle(), QStringLiteral("Výběr složky"));
    EXPECT_EQ(form7().windowTitle(), QStringLiteral("Dešifrování složky"));
    EXPECT_EQ(form5().gb->title(), QStringLiteral("Šifrovat se zadáním klíče"));
    EXPECT_EQ(form7().gb->title(), QStringLiteral("Dešifrovat se zadáním klíče"));
    EXPECT_EQ(form5().Label7->text(), QStringLiteral("Stav šifrování souboru :"));
    EXPECT_EQ(form7().Label6->text(), QStringLiteral("Stav dešifrování souboru :"));
    EXPECT_EQ(form5().Label6->text(), QStringLiteral("Status  :"));
    EXPECT_EQ(form7().Label7->text(), QStringLiteral("Status  :"));
    EXPECT_EQ(form6().Label1->text(), QStringLiteral("Vyberte složku a stiskněte ok"));
    EXPECT_EQ(form5().slozka->text(), QStringLiteral("...."));
    EXPECT_EQ(form7().soubor->text(), QStringLiteral(" "));
    EXPECT_EQ(form7().ecode->echoMode(), QLineEdit::Password);
    // Left to right: pb2 << pb1 when encrypting, pb1 << pb2 when decrypting.
    EXPECT_LT(form5().pb2->x(), form5().pb1->x());
    EXPECT_LT(form7().pb1->x(), form7().pb2->x());
    for (QWidget* hidden : std::initializer_list<QWidget*>{form5().HashEdit, form5().ErrorMsg, form5().FileListBox,
                                                          form5().OneWay, form7().HashEdit, form7().ErrorMsg,
                                                          form7().FileListBox})
        EXPECT_FALSE(hidden->isVisibleTo(hidden->window())) << hidden->objectName().toStdString();
}

}  // namespace

TEST_F(FolderWindows, KeyTypedComposedOpensThePackageMadeWithItDecomposed) {
    makeFile("a.txt", 300);
    const auto original = testutil::readFile(dir.file("a.txt"));
    chooseFolder(q(dir.path()));
    dialogs.answerNext(platform::Answer::No);
    encryptWithKey(QStringLiteral("správný").normalized(QString::NormalizationForm_D));
    dialogs.chooseNextFile(q(dir.file("directory.cff")));
    main().ToolButton23->trigger();
    main().ToolButton20->trigger();
    form7().ecode->setText(QStringLiteral("správný").normalized(QString::NormalizationForm_C));
    QTest::mouseClick(form7().BitBtn1, Qt::LeftButton);
    EXPECT_TRUE(form7().ErrorMsg->text().isEmpty()) << form7().ErrorMsg->text().toStdString();
    EXPECT_EQ(testutil::readFile(dir.file("a.txt")), original);
}

TEST_F(FolderWindows, EncryptingLeavesOutNamesWithControlCharactersAndCountsThem) {
    makeFile("a.txt", 10);
    makeFile("řádek\nzlom.txt", 10);  // a package could not give it back
    chooseFolder(q(dir.path()));
    dialogs.answerNext(platform::Answer::No);  // the subfolders stay out, and so does that file
    encryptWithKey(QStringLiteral("klíč"));
    EXPECT_EQ(lastMessage().text, QStringLiteral("Šifrování složky bylo úspěšně provedeno. 3 položky složky zůstaly "
                                                 "nešifrovány: podsložky, skryté soubory, odkazy a jména s řídicími "
                                                 "znaky se nešifrují."));
    EXPECT_TRUE(std::filesystem::exists(dir.file("řádek\nzlom.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.txt")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("directory.cff")));
}

namespace {

TEST(FolderEncryptedText, SaysHowManyEntriesStayedUnencryptedInCzech) {
    const QString done = QStringLiteral("Šifrování složky bylo úspěšně provedeno.");
    const QString why = QStringLiteral("podsložky, skryté soubory, odkazy a jména s řídicími znaky se nešifrují.");
    EXPECT_EQ(folderEncryptedText(0), done);
    EXPECT_EQ(folderEncryptedText(1), done + QStringLiteral(" 1 položka složky zůstala nešifrována: ") + why);
    EXPECT_EQ(folderEncryptedText(4), done + QStringLiteral(" 4 položky složky zůstaly nešifrovány: ") + why);
    EXPECT_EQ(folderEncryptedText(5), done + QStringLiteral(" 5 položek složky zůstalo nešifrováno: ") + why);
}

TEST(SubfoldersQuestion, CountsFilesAndFoldersInCzech) {
    const auto question = [](int files, int folders) { return subfoldersQuestion({folders, files}).toStdString(); };
    EXPECT_EQ(question(0, 1), "Složka obsahuje podsložky (0 souborů v 1 složce). Zašifrovat i je?");
    EXPECT_EQ(question(1, 2), "Složka obsahuje podsložky (1 soubor ve 2 složkách). Zašifrovat i je?");
    EXPECT_EQ(question(4, 5), "Složka obsahuje podsložky (4 soubory v 5 složkách). Zašifrovat i je?");
    EXPECT_EQ(question(5, 1), "Složka obsahuje podsložky (5 souborů v 1 složce). Zašifrovat i je?");
}

TEST(TreeEncryptedText, NamesAtMostTenOfWhatStayedOut) {
    EXPECT_EQ(treeEncryptedText({}), folderEncryptedText(0));
    const QString start = folderEncryptedText(0) + QStringLiteral(" Odkazy, zvláštní a skryté soubory a jména s "
                                                                  "řídicími znaky se nešifrují; zůstalo nešifrováno: ");
    EXPECT_EQ(treeEncryptedText({"a/odkaz", "b"}), start + QStringLiteral("a/odkaz, b."));
    QStringList many;
    for (int i = 0; i < 12; ++i) many << QString::number(i);
    EXPECT_EQ(treeEncryptedText(many), start + QStringLiteral("0, 1, 2, 3, 4, 5, 6, 7, 8, 9, … (celkem 12)."));
}

}  // namespace
