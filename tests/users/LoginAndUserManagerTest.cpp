// The login gate, the login window and the user manager, driven through their controls with a real
// data.adb beside the program file of the run.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "app/Forms.h"
#include "engine/Roster.h"
#include "platform/QtPorts.h"
#include "platform/StatusBar.h"
#include "tests/platform/ProfileTestFiles.h"
#include "tests/support/AppFixture.h"
#include "folders/Unit6.h"
#include "users/Unit11.h"
#include "users/Unit12.h"
#include "users/UserCodeText.h"

namespace {

using platform::Answer;
using platform::Icon;
using testutil::readText;
using testutil::writeText;

using Grid = std::vector<std::pair<QString, QString>>;

class Users : public testutil::AppFixture {
protected:
    TForm11& manager() const { return *forms().Form11; }
    TForm12& login() const { return *forms().Form12; }

    static QString codeOf(const QString& name, const QString& password) {
        QLineEdit edit;
        platform::LineEditField field(edit);
        Roster::strtohex(users::userCodeText(name, password).utf8(), field);
        return edit.text();
    }

    // Every row of the grid, the title row included.
    Grid grid() const {
        Grid rows;
        const QTableWidget& sg = *manager().sg;
        for (int row = 0; row < sg.rowCount(); ++row)
            rows.emplace_back(sg.item(row, 0) ? sg.item(row, 0)->text() : QString(),
                              sg.item(row, 1) ? sg.item(row, 1)->text() : QString());
        return rows;
    }

    void addThroughManager(const QString& name, const QString& password) {
        dialogs.inputNext(name);
        dialogs.inputNext(password);
        manager().ToolButton1->trigger();
    }

    void removeRow(int row, Answer answer) {
        manager().sg->setCurrentCell(row, 0);
        dialogs.answerNext(answer);
        manager().ToolButton2->trigger();
    }

    // The state of the login gate: main window disabled, login window shown.
    bool loggedOut() const { return !main().isEnabled() && login().isVisible(); }
    bool loginFailedMessageShown() const {
        return !dialogs.messages().empty() && dialogs.messages().back().caption == QStringLiteral("Nekorektní přihlášení");
    }
};

TEST_F(Users, WithoutADatabaseNobodyLogsInAndTheFirstUserCreatesIt) {
    start();
    EXPECT_TRUE(loggedOut());
    EXPECT_EQ(grid(), (Grid{{"Uživatel", "Id"}}));
    EXPECT_EQ(manager().StatusBar1->panelText(0), QStringLiteral("Přihlášený uživatel :"));
    EXPECT_EQ(manager().loggedInName(), QString());
    EXPECT_EQ(manager().loggedInCode(), QString());

    typeLogin(QStringLiteral("Eva"), QStringLiteral("heslo"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("Přihlášení nebylo korektní. Zkuste se přihlásit znovu."));
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Warning);
    EXPECT_EQ(login().Edit1->text(), QString());  // a failed login empties both fields
    EXPECT_EQ(login().Edit2->text(), QString());
    EXPECT_TRUE(loggedOut());
    EXPECT_FALSE(std::filesystem::exists(databasePath()));  // the login writes nothing

    QTest::mouseClick(login().BitBtn2, Qt::LeftButton);
    EXPECT_TRUE(manager().isVisible());
    addThroughManager(QStringLiteral("Eva"), QStringLiteral("heslo"));
    ASSERT_EQ(dialogs.inputBoxes().size(), 2u);
    EXPECT_EQ(dialogs.inputBoxes()[0].caption, QStringLiteral("Zadejte jméno uživatele"));
    EXPECT_EQ(dialogs.inputBoxes()[0].prompt, QStringLiteral("Jméno uživatele"));
    EXPECT_EQ(dialogs.inputBoxes()[1].caption, QStringLiteral("Zadejte heslo"));
    EXPECT_EQ(dialogs.inputBoxes()[1].prompt, QStringLiteral("Heslo"));
    const QString code = codeOf(QStringLiteral("Eva"), QStringLiteral("heslo"));
    EXPECT_EQ(grid(), (Grid{{"Uživatel", "Id"}, {"Eva", code}}));
    EXPECT_TRUE(std::filesystem::exists(databasePath()));
    EXPECT_EQ(readText(databasePath()).find("heslo"), std::string::npos);  // no password in readable form
    EXPECT_TRUE(loggedOut());

    typeLogin(QStringLiteral("Eva"), QStringLiteral("heslo"));
    EXPECT_TRUE(main().isEnabled());
    EXPECT_FALSE(login().isVisible());
    EXPECT_EQ(manager().loggedInName(), QStringLiteral("Eva"));
    EXPECT_EQ(manager().loggedInCode(), code);
    EXPECT_EQ(main().user->text(), QStringLiteral("Eva"));
    EXPECT_EQ(login().Edit1->text(), QStringLiteral("Eva"));  // a successful login keeps them
    EXPECT_EQ(login().Edit2->text(), QStringLiteral("heslo"));
}

TEST_F(Users, CancelledNameStoresNobodyAndAnEmptyPasswordIsAPassword) {
    start();
    dialogs.inputNext(std::nullopt);  // the name box cancelled: the addition goes on with an empty name
    dialogs.inputNext(QStringLiteral("x"));
    manager().ToolButton1->trigger();
    EXPECT_EQ(grid(), (Grid{{"Uživatel", "Id"}}));
    EXPECT_TRUE(loggedOut());

    dialogs.inputNext(QStringLiteral("Jan"));
    dialogs.inputNext(std::nullopt);
    manager().ToolButton1->trigger();
    ASSERT_EQ(grid().size(), 2u);
    typeLogin(QStringLiteral("Jan"), QString());
    EXPECT_TRUE(main().isEnabled());
}

TEST_F(Users, GateListsOnlyNumberedSectionsWithANameUpToCount) {
    writeText(databasePath(),
              "[All]\r\nCount=3\r\n[1]\r\nname=Eva\r\nEva=e1e1\r\n[2]\r\nPetr=b2b2\r\n[3]\r\nname=Jana\r\nJana=c3c3\r\n");
    start();
    EXPECT_EQ(grid(), (Grid{{"Uživatel", "Id"}, {"Eva", "e1e1"}, {"Jana", "c3c3"}}));
}

TEST_F(Users, SameNameTwiceAndTheNameNameCanAllLogIn) {
    start();
    addThroughManager(QStringLiteral("Eva"), QStringLiteral("jedna"));
    addThroughManager(QStringLiteral("Eva"), QStringLiteral("dva"));
    addThroughManager(QStringLiteral("name"), QStringLiteral("tri"));
    const QString nameCode = codeOf(QStringLiteral("name"), QStringLiteral("tri"));
    // The user "name" shares the section's "name" key, so the list shows the code as the name.
    EXPECT_EQ(grid(), (Grid{{"Uživatel", "Id"},
                            {"Eva", codeOf(QStringLiteral("Eva"), QStringLiteral("jedna"))},
                            {"Eva", codeOf(QStringLiteral("Eva"), QStringLiteral("dva"))},
                            {nameCode, ""}}));

    for (const char* password : {"jedna", "dva"}) {
        typeLogin(QStringLiteral("Eva"), QString::fromLatin1(password));
        EXPECT_TRUE(main().isEnabled()) << password;
        main().FormShow();
    }
    typeLogin(QStringLiteral("Eva"), QStringLiteral("tri"));
    EXPECT_TRUE(loginFailedMessageShown());
    typeLogin(QStringLiteral("name"), QStringLiteral("tri"));
    EXPECT_TRUE(main().isEnabled());
    EXPECT_EQ(main().user->text(), QStringLiteral("name"));  // the stored login name
}

TEST_F(Users, SaveOfTwoUsersIntoAnEmptyFileWritesTheDocumentedLayout) {
    const QString eva = codeOf(QStringLiteral("Eva"), QStringLiteral("e"));
    const QString petr = codeOf(QStringLiteral("Petr"), QStringLiteral("p"));
    writeText(databasePath(), "[All]\nCount=2\n[1]\nname=Eva\nEva=" + eva.toStdString() + "\n[2]\nname=Petr\nPetr=" +
                                  petr.toStdString() + "\n");
    start();
    std::filesystem::remove(databasePath());
    manager().show();
    manager().close();  // FormClose saves the grid
    EXPECT_FALSE(manager().isVisible());
    EXPECT_EQ(readText(databasePath()), "[1]\nname=Eva\nEva=" + eva.toStdString() + "\n[" + eva.toStdString() +
                                            "]\nuser=Eva\nindex=1\n[2]\nname=Petr\nPetr=" + petr.toStdString() +
                                            "\n[" + petr.toStdString() + "]\nuser=Petr\nindex=2\n[All]\nCount=2\n");
}

TEST_F(Users, RemovingAMiddleAndTheLastRowKeepsEveryoneElseAndLogsOut) {
    start();
    for (const char* name : {"Eva", "Petr", "Jana"}) addThroughManager(QString::fromLatin1(name), QStringLiteral("x"));
    logIn(QStringLiteral("Eva"), QStringLiteral("x"));
    const Grid before = grid();

    removeRow(2, Answer::No);  // No changes nothing and the login stands
    EXPECT_EQ(grid(), before);
    EXPECT_TRUE(main().isEnabled());
    // The title row: nothing happens, nothing is asked.
    dialogs.clear();
    manager().sg->setCurrentCell(0, 1);
    manager().ToolButton2->trigger();
    EXPECT_TRUE(dialogs.messages().empty());

    removeRow(2, Answer::Yes);
    EXPECT_EQ(dialogs.messages().back().text, QStringLiteral("Opravdu chcete odstranit uživatele \"Petr\" ?"));
    EXPECT_EQ(dialogs.messages().back().caption, QStringLiteral("Odebrání uživatele"));
    EXPECT_EQ(dialogs.messages().back().buttons, platform::Buttons::YesNoDefaultNo) << "one Enter removes nobody";
    EXPECT_TRUE(loggedOut());
    EXPECT_EQ(grid(), (Grid{before[0], before[1], before[3]}));
    EXPECT_EQ(manager().loggedInName(), QStringLiteral("Eva"));  // the last login's record stays
    typeLogin(QStringLiteral("Petr"), QStringLiteral("x"));
    EXPECT_TRUE(loginFailedMessageShown());

    removeRow(2, Answer::Yes);  // Jana, now the last row
    EXPECT_EQ(grid(), (Grid{before[0], before[1]}));
    const std::string file = readText(databasePath());
    EXPECT_NE(file.find("Count=1\n"), std::string::npos);
    // The emptied code section keeps its header.
    EXPECT_NE(file.find("[" + before[3].second.toStdString() + "]\n"), std::string::npos);
    EXPECT_EQ(file.find("user=Jana"), std::string::npos);
    typeLogin(QStringLiteral("Jana"), QStringLiteral("x"));
    EXPECT_TRUE(loginFailedMessageShown());
    typeLogin(QStringLiteral("Eva"), QStringLiteral("x"));
    EXPECT_TRUE(main().isEnabled());
}

TEST_F(Users, ReadOnlyDatabaseReportsTheFailedWriteAndKeepsTheLogin) {
    start();
    logIn();
    ::chmod(databasePath().c_str(), 0444);
    const std::string before = readText(databasePath());
    const QString unableToWrite = QStringLiteral("Unable to write to %1.").arg(QString::fromStdString(databasePath()));

    addThroughManager(QStringLiteral("Petr"), QStringLiteral("p"));
    EXPECT_EQ(dialogs.errorReports(), QStringList{unableToWrite});
    EXPECT_EQ(grid().back().first, QStringLiteral("Petr"));  // the row stays, unsaved
    EXPECT_TRUE(main().isEnabled());
    EXPECT_FALSE(login().isVisible());

    removeRow(1, Answer::Yes);
    EXPECT_EQ(dialogs.errorReports().size(), 2u);
    EXPECT_EQ(grid()[1].first, QString());  // the emptied row stays on the screen
    EXPECT_TRUE(main().isEnabled());

    manager().show();
    manager().close();
    EXPECT_EQ(dialogs.errorReports(), (QStringList{unableToWrite, unableToWrite, unableToWrite}));
    EXPECT_TRUE(manager().isVisible());  // a close that cannot save keeps the window open
    EXPECT_EQ(readText(databasePath()), before);
}

TEST_F(Users, OnlyEnterInThePasswordFieldLogsIn) {
    storeUser(QStringLiteral("Eva"), QStringLiteral("heslo"));
    start();
    login().Edit1->setText(QStringLiteral("Eva"));
    login().Edit2->setText(QStringLiteral("heslo"));
    QTest::keyClick(login().Edit1, Qt::Key_Return);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_TRUE(loggedOut());
    QTest::keyClick(login().Edit2, Qt::Key_Return);
    EXPECT_TRUE(main().isEnabled());
    EXPECT_EQ(main().user->text(), QStringLiteral("Eva"));
}

TEST_F(Users, ManagerOpensFromTheMenuAndTheLoggedOutMainWindowCannotBeClosed) {
    start();
    main().close();
    EXPECT_TRUE(main().isVisible());
    logIn();
    main().Manaeruivatel1->trigger();
    EXPECT_TRUE(manager().isVisible());
    EXPECT_TRUE(main().isEnabled());
}

TEST_F(Users, ClosingTheLoginWindowEndsTheProgram) {
    start();
    QEventLoop loop;
    QTimer::singleShot(0, &login(), [this] { login().close(); });
    // Reached only when closing did not end the loop.
    QTimer::singleShot(0, &loop, [&loop] {
        if (loop.isRunning()) loop.exit(7);
    });
    EXPECT_EQ(loop.exec(), 0);
}

}  // namespace

namespace {

// The folder window stays usable while the login window is up; what it offers must still be in the menu
// once the user has logged in again.
TEST_F(Users, MenuStateChangedWhileLoggedOutSurvivesTheNextLogin) {
    start();
    logIn();
    main().loadfile();  // nothing open: every file and folder operation withdrawn
    ASSERT_FALSE(main().ifrovnsezadnmkle1->menuAction()->isEnabled());
    addThroughManager(QStringLiteral("Druhý"), QStringLiteral("heslo2"));
    ASSERT_TRUE(loggedOut());

    forms().Form6->Button1Click();  // a folder is chosen while logged out
    EXPECT_TRUE(main().Sloku1->isEnabled());
    typeLogin(QStringLiteral("Tester"), QStringLiteral("heslo"));
    ASSERT_TRUE(main().isEnabled());

    // "Šifrování › Šifrovat › Šifrování se zadáním klíče › Složku" leads to the folder encryption again.
    EXPECT_TRUE(main().ifrovnsezadnmkle1->menuAction()->isEnabled());
    EXPECT_TRUE(main().Sloku1->isEnabled());
    EXPECT_FALSE(main().Statickifrovn1->menuAction()->isEnabled());
    EXPECT_FALSE(main().Jednosmrnifrovn1->menuAction()->isEnabled());
    EXPECT_FALSE(main().Deifrovnsezadnmkle1->menuAction()->isEnabled());
}

}  // namespace
