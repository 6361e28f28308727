// SPDX-License-Identifier: GPL-3.0-or-later
// The login gate, the login window and the user manager, driven through their controls with a real
// data.adb beside the program file of the run.
#include <sys/stat.h>

#include <functional>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QClipboard>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
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
#include "fileops/Unit3.h"
#include "fileops/Unit4.h"
#include "folders/Unit6.h"
#include "folders/Unit7.h"
#include "users/Unit11.h"
#include "users/Unit12.h"
#include "users/UserCodeText.h"
#include "users/UserDatabase.h"

namespace {

using platform::Answer;
using platform::Icon;
using testutil::readText;
using testutil::writeText;

using Grid = std::vector<std::pair<QString, QString>>;

// The number of entries in each numbered section ("1", "2", …) of a data.adb text.
std::map<std::string, int> numberedSectionEntries(const std::string& file) {
    std::map<std::string, int> entries;
    std::string section;
    std::istringstream lines(file);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('[')) {
            section = line.substr(1, line.find(']') - 1);
            if (section.find_first_not_of("0123456789") == std::string::npos) entries[section];
        } else if (line.find('=') != std::string::npos && entries.contains(section)) {
            ++entries[section];
        }
    }
    return entries;
}

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
        dialogs.inputNext(password);  // typed again
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

    // Nobody could log in: the window says how the first user is made, and its button has the keyboard.
    const QString hint =
        QStringLiteral("Zatím není založen žádný uživatel. Prvního přidáte v manažeru uživatelů (horní tlačítko).");
    EXPECT_TRUE(login().firstUserHint->isVisible());
    EXPECT_EQ(login().firstUserHint->text(), hint);
    EXPECT_TRUE(login().rect().contains(login().firstUserHint->geometry()));
    EXPECT_EQ(login().focusWidget(), login().BitBtn2);
    typeLogin(QStringLiteral("Eva"), QStringLiteral("heslo"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, hint);
    EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Žádný uživatel"));
    EXPECT_TRUE(loggedOut());
    EXPECT_FALSE(std::filesystem::exists(databasePath()));  // the login writes nothing

    QTest::mouseClick(login().BitBtn2, Qt::LeftButton);
    EXPECT_TRUE(manager().isVisible());
    addThroughManager(QStringLiteral("Eva"), QStringLiteral("heslo"));
    ASSERT_EQ(dialogs.inputBoxes().size(), 3u);
    EXPECT_EQ(dialogs.inputBoxes()[0].caption, QStringLiteral("Zadejte jméno uživatele"));
    EXPECT_EQ(dialogs.inputBoxes()[0].prompt, QStringLiteral("Jméno uživatele"));
    EXPECT_EQ(dialogs.inputBoxes()[0].echo, platform::Echo::Clear);
    EXPECT_EQ(dialogs.inputBoxes()[1].caption, QStringLiteral("Zadejte heslo"));
    EXPECT_EQ(dialogs.inputBoxes()[1].prompt, QStringLiteral("Heslo"));
    EXPECT_EQ(dialogs.inputBoxes()[2].caption, QStringLiteral("Zadejte heslo znovu"));
    EXPECT_EQ(dialogs.inputBoxes()[2].prompt, QStringLiteral("Heslo znovu"));
    for (const int box : {1, 2}) EXPECT_EQ(dialogs.inputBoxes()[box].echo, platform::Echo::Password);
    const QString code = codeOf(QStringLiteral("Eva"), QStringLiteral("heslo"));
    EXPECT_EQ(grid(), (Grid{{"Uživatel", "Id"}, {"Eva", code}}));
    EXPECT_TRUE(std::filesystem::exists(databasePath()));
    EXPECT_EQ(readText(databasePath()).find("heslo"), std::string::npos);  // no password in readable form
    EXPECT_TRUE(loggedOut());
    EXPECT_FALSE(login().firstUserHint->isVisible());
    EXPECT_EQ(login().focusWidget(), login().Edit1);

    typeLogin(QStringLiteral("Eva"), QStringLiteral("spatne"));
    EXPECT_EQ(dialogs.messages().back().text, QStringLiteral("Přihlášení nebylo korektní. Zkuste se přihlásit znovu."));
    EXPECT_EQ(dialogs.messages().back().icon, Icon::Warning);
    EXPECT_EQ(login().Edit1->text(), QString());  // a failed login empties both fields
    EXPECT_EQ(login().Edit2->text(), QString());

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
    dialogs.inputNext(QStringLiteral("x"));
    manager().ToolButton1->trigger();
    EXPECT_EQ(grid(), (Grid{{"Uživatel", "Id"}}));
    EXPECT_TRUE(loggedOut());

    dialogs.inputNext(QStringLiteral("Jan"));
    dialogs.inputNext(std::nullopt);
    dialogs.inputNext(QString());  // the empty password, typed again
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

TEST_F(Users, APasswordTypedDifferentlyTheSecondTimeOrNotAgainAddsNobody) {
    start();
    addThroughManager(QStringLiteral("Eva"), QStringLiteral("heslo"));
    const std::string file = readText(databasePath());
    const Grid listed = grid();
    dialogs.clear();

    dialogs.inputNext(QStringLiteral("Jan"));
    dialogs.inputNext(QStringLiteral("heslo1"));
    dialogs.inputNext(QStringLiteral("hesl01"));
    manager().ToolButton1->trigger();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("Zadaná hesla se neshodují. Uživatel nebyl přidán."));
    EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Přidání uživatele"));
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Warning);

    dialogs.inputNext(QStringLiteral("Jan"));
    dialogs.inputNext(QStringLiteral("heslo1"));
    dialogs.inputNext(std::nullopt);  // the repetition cancelled: no more questions, nothing added
    manager().ToolButton1->trigger();
    EXPECT_EQ(dialogs.messages().size(), 1u);

    EXPECT_EQ(readText(databasePath()), file);
    EXPECT_EQ(grid(), listed);
    typeLogin(QStringLiteral("Jan"), QStringLiteral("heslo1"));
    EXPECT_TRUE(loggedOut());
}

TEST_F(Users, SameNameTwiceLogsInWithEitherPassword) {
    start();
    addThroughManager(QStringLiteral("Eva"), QStringLiteral("jedna"));
    addThroughManager(QStringLiteral("Eva"), QStringLiteral("dva"));
    EXPECT_EQ(grid(), (Grid{{"Uživatel", "Id"},
                            {"Eva", codeOf(QStringLiteral("Eva"), QStringLiteral("jedna"))},
                            {"Eva", codeOf(QStringLiteral("Eva"), QStringLiteral("dva"))}}));
    for (const char* password : {"jedna", "dva"}) {
        typeLogin(QStringLiteral("Eva"), QString::fromLatin1(password));
        EXPECT_TRUE(main().isEnabled()) << password;
        main().FormShow();
    }
    typeLogin(QStringLiteral("Eva"), QStringLiteral("tri"));
    EXPECT_TRUE(loginFailedMessageShown());
}

// Names the file layout cannot hold as they are, and ordinary ones, removed one at a time: the removed
// user no longer logs in and leaves nothing in data.adb; everyone else still logs in.
TEST_F(Users, RemovalRemovesEveryKindOfName) {
    start();
    const QStringList names{QStringLiteral("a=b"),  QStringLiteral("[x]"),  QStringLiteral(";semi"),
                            QStringLiteral("name"), QStringLiteral("NAME"), QStringLiteral("%p"),
                            QStringLiteral("user"), QStringLiteral("Čeněk Novák"), QStringLiteral("Eva")};
    const auto passwordOf = [](const QString& name) { return QStringLiteral("heslo ") + name; };
    for (const QString& name : names) addThroughManager(name, passwordOf(name));
    const Grid added = grid();
    Grid remaining(added.begin() + 1, added.end());  // name and code of every user still there
    ASSERT_EQ(remaining.size(), static_cast<std::size_t>(names.size()));
    for (std::size_t i = 0; i < remaining.size(); ++i) EXPECT_EQ(remaining[i].first, names[static_cast<int>(i)]);

    // From the middle, the top and the bottom of the list in turn.
    for (const int row : {5, 1, 7, 3, 1, 2, 3, 1, 1}) {
        const auto [gone, goneCode] = remaining[static_cast<std::size_t>(row - 1)];
        remaining.erase(remaining.begin() + row - 1);
        SCOPED_TRACE(gone.toStdString());
        ASSERT_EQ(grid()[static_cast<std::size_t>(row)].first, gone);
        removeRow(row, Answer::Yes);
        Grid listed{{"Uživatel", "Id"}};
        listed.insert(listed.end(), remaining.begin(), remaining.end());
        EXPECT_EQ(grid(), listed);
        typeLogin(gone, passwordOf(gone));
        if (remaining.empty())  // nobody left: the login says how the first user is made
            EXPECT_EQ(dialogs.messages().back().caption, QStringLiteral("Žádný uživatel"));
        else
            EXPECT_TRUE(loginFailedMessageShown());
        const std::string file = readText(databasePath());
        EXPECT_EQ(file.find(goneCode.toStdString()), std::string::npos) << file;
        // One "name" and one code per numbered section, one numbered section per user.
        const std::map<std::string, int> entries = numberedSectionEntries(file);
        EXPECT_EQ(entries.size(), remaining.size()) << file;
        for (const auto& [section, count] : entries) EXPECT_EQ(count, 2) << section << "\n" << file;
        // Everyone else is still found by the login's lookup; one of them logs in through the window.
        const users::UserDatabase database(dir.path());
        for (const auto& [name, code] : remaining)
            EXPECT_EQ(database.lookupLogin(code.toStdString()), name.toStdString());
        if (remaining.empty()) continue;
        const QString next = remaining.front().first;
        typeLogin(next, passwordOf(next));
        EXPECT_TRUE(main().isEnabled()) << next.toStdString();
        EXPECT_EQ(main().user->text(), next);
        main().FormShow();
    }
}

// Text pasted into the input boxes: what could not be stored, or typed again at the login, is refused at
// once with a Czech reason and nothing changes; anything else is stored and logs in.
TEST_F(Users, PastedLineBreaksAndControlCharactersAreRefusedWithNothingChanged) {
    start();
    logIn();
    manager().showInFront();
    const std::string file = readText(databasePath());
    const Grid listed = grid();
    const QString nameControl =
        QStringLiteral("Jméno uživatele nesmí obsahovat konec řádku, tabulátor ani jiný řídicí znak.");
    const QString nameHash = QStringLiteral("Jméno uživatele nesmí obsahovat znak #.");
    const QString nameBlank = QStringLiteral("Jméno uživatele nesmí začínat ani končit mezerou.");
    const QString passwordControl =
        QStringLiteral("Heslo nesmí obsahovat konec řádku, tabulátor ani jiný řídicí znak.");
    struct Refused {
        QString name;
        std::optional<QString> password;  // none: refused before the password is asked
        QString reason;
    };
    const std::vector<Refused> cases{
        {QStringLiteral("Eva\n"), std::nullopt, nameControl},
        {QStringLiteral("Eva\r\nNovák"), std::nullopt, nameControl},
        {QStringLiteral("E\tva"), std::nullopt, nameControl},
        {QStringLiteral("E\x01va\x7F"), std::nullopt, nameControl},
        {QStringLiteral("Eva") + QChar(0x2028), std::nullopt, nameControl},
        {QStringLiteral("a#b"), std::nullopt, nameHash},
        {QStringLiteral(" Eva"), std::nullopt, nameBlank},
        {QStringLiteral("Eva "), std::nullopt, nameBlank},
        {QStringLiteral("   "), std::nullopt, nameBlank},
        {QStringLiteral("Eva"), QStringLiteral("heslo\n"), passwordControl},
        {QStringLiteral("Eva"), QStringLiteral("he\x1Bslo"), passwordControl},
    };
    for (const Refused& refused : cases) {
        SCOPED_TRACE(refused.name.toStdString() + " / " + refused.password.value_or(QString()).toStdString());
        dialogs.clear();
        dialogs.inputNext(refused.name);
        if (refused.password) dialogs.inputNext(*refused.password);
        manager().ToolButton1->trigger();
        EXPECT_EQ(dialogs.inputBoxes().size(), refused.password ? 2u : 1u);
        ASSERT_EQ(dialogs.messages().size(), 1u);
        EXPECT_EQ(dialogs.messages()[0].text, refused.reason);
        EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Přidání uživatele"));
        EXPECT_EQ(dialogs.messages()[0].icon, Icon::Warning);
        EXPECT_EQ(readText(databasePath()), file);
        EXPECT_EQ(grid(), listed);
        EXPECT_TRUE(main().isEnabled());  // the login stands
    }
    manager().close();
    EXPECT_FALSE(manager().isVisible());
    EXPECT_TRUE(dialogs.errorReports().isEmpty());

    // "#" and blanks in a password, blanks inside a name: stored, and they log in as typed.
    addThroughManager(QStringLiteral("Jan Novák"), QStringLiteral(" b#c "));
    typeLogin(QStringLiteral("Jan Novák"), QStringLiteral(" b#c "));
    EXPECT_TRUE(main().isEnabled());
    EXPECT_EQ(main().user->text(), QStringLiteral("Jan Novák"));
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
    EXPECT_EQ(file.find(before[3].second.toStdString()), std::string::npos);  // nothing names Jana's code
    EXPECT_EQ(file.find("Jana"), std::string::npos);
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
    // The exit stays pending for every event loop (and so every box) until the application's own loop has
    // run; run it, so that the tests after this one can show boxes.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
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

namespace {

// The real boxes instead of `scripted`, for as long as this lives, answered by `steps` in turn as each
// one comes up (a step looks at the box and closes it).
class RealBoxes {
public:
    using Step = std::function<void(QWidget& box)>;

    RealBoxes(platform::Dialogs& scripted, std::vector<Step> steps) : steps_(std::move(steps)), scripted_(scripted) {
        platform::setDialogs(nullptr);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || box == last_ || next_ == steps_.size()) return;
            last_ = box;
            steps_[next_++](*box);
        });
        poll_.start(0);
    }
    ~RealBoxes() { platform::setDialogs(&scripted_); }
    std::size_t answered() const { return next_; }

private:
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QPointer<QWidget> last_;
    QTimer poll_;
    platform::Dialogs& scripted_;
};

bool keptAbove(const QWidget& box) { return box.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

// Lets the work the boxes left for the event loop run (the keyboard's way back).
void settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

TEST_F(Users, BoxesWhileLoggedOutStayAboveTheLoginWindowAndGiveTheKeyboardBack) {
    storeUser(QStringLiteral("Tester"), QStringLiteral("heslo"));  // somebody to log in: the name field has the keyboard
    start();
    bool failedLoginAbove = false;
    bool nameBoxAbove = false;
    bool refusalAbove = false;
    QString refusal;
    QString cancelText;
    int nameBoxWidth = 0;
    int captionWidth = 0;
    {
        RealBoxes boxes(dialogs, {
            [&](QWidget& box) {  // the failed login
                failedLoginAbove = keptAbove(box);
                static_cast<QDialog&>(box).accept();
            },
            [&](QWidget& box) {  // the user manager's name box: a line copied from an editor is pasted
                auto& input = static_cast<QInputDialog&>(box);
                nameBoxAbove = keptAbove(box);
                for (QPushButton* button : box.findChildren<QPushButton*>())
                    if (!button->text().contains(QLatin1String("OK"))) cancelText = button->text();
                nameBoxWidth = box.width();
                QFont title = box.font();
                title.setBold(true);
                captionWidth = QFontMetrics(title).horizontalAdvance(box.windowTitle());
                QGuiApplication::clipboard()->setText(QStringLiteral("Eva Nováková\n"));
                QTest::keyClick(box.findChild<QLineEdit*>(), Qt::Key_V, Qt::ControlModifier);
                input.accept();
            },
            [&](QWidget& box) {  // the refusal
                refusalAbove = keptAbove(box);
                refusal = static_cast<QMessageBox&>(box).text();
                static_cast<QDialog&>(box).accept();
            },
        });

        typeLogin(QStringLiteral("Nikdo"), QStringLiteral("nic"));
        settle();
        EXPECT_TRUE(failedLoginAbove);
        EXPECT_EQ(QApplication::activeWindow(), &login());
        EXPECT_EQ(QApplication::focusWidget(), login().Edit1);

        QTest::mouseClick(login().BitBtn2, Qt::LeftButton);
        manager().activateWindow();
        manager().ToolButton1->trigger();
        settle();
        EXPECT_EQ(boxes.answered(), 3u);
    }
    EXPECT_TRUE(nameBoxAbove);
    EXPECT_TRUE(refusalAbove);
    EXPECT_EQ(refusal, QStringLiteral("Jméno uživatele nesmí obsahovat konec řádku, tabulátor ani jiný řídicí znak."));
    EXPECT_EQ(cancelText, QStringLiteral("Zrušit"));
    EXPECT_GT(nameBoxWidth, captionWidth + 60);
    EXPECT_EQ(QApplication::activeWindow(), &login());
    EXPECT_EQ(QApplication::focusWidget(), login().Edit1);
    EXPECT_TRUE(loggedOut());
}

TEST_F(Users, LoginWindowCannotBeMinimisedAwayAndTheMainWindowPassesTheKeyboardOn) {
    storeUser(QStringLiteral("Tester"), QStringLiteral("heslo"));  // somebody to log in: the name field has the keyboard
    start();
    EXPECT_FALSE(login().windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    login().showMinimized();
    settle();
    EXPECT_FALSE(login().isMinimized());
    EXPECT_TRUE(login().isVisible());

    login().Edit2->setFocus();
    main().activateWindow();  // a click on the disabled main window
    settle();
    EXPECT_EQ(QApplication::activeWindow(), &login());
    EXPECT_EQ(QApplication::focusWidget(), login().Edit1);

    logIn();
    main().activateWindow();
    settle();
    EXPECT_EQ(QApplication::activeWindow(), &main());
    EXPECT_FALSE(login().isVisible());
}

TEST_F(Users, OtherWindowsArePutAwayWhileLoggedOutAndComeBackAfterTheLogin) {
    start();
    logIn();
    forms().Form7->showInFront();
    forms().Form3->showInFront();
    forms().Form3->move(300, 200);
    const QPoint keyWindowAt = forms().Form3->pos();
    manager().showInFront();

    addThroughManager(QStringLiteral("Druhý"), QStringLiteral("heslo2"));
    ASSERT_TRUE(loggedOut());
    EXPECT_FALSE(forms().Form7->isVisible());  // its key field and OK are out of reach
    EXPECT_FALSE(forms().Form3->isVisible());
    EXPECT_TRUE(manager().isVisible());  // the user manager works while logged out

    typeLogin(QStringLiteral("Druhý"), QStringLiteral("heslo2"));
    ASSERT_TRUE(main().isEnabled());
    EXPECT_TRUE(forms().Form7->isVisible());
    EXPECT_TRUE(forms().Form3->isVisible());
    EXPECT_EQ(forms().Form3->pos(), keyWindowAt);
    EXPECT_FALSE(forms().Form4->isVisible());  // never shown, not shown now
}

}  // namespace
