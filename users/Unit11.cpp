// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/Unit11.h"

#include <algorithm>

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QToolBar>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "engine/Roster.h"
#include "platform/Dialogs.h"
#include "platform/EngineCall.h"
#include "platform/ErrorReport.h"
#include "platform/QtPorts.h"
#include "platform/StatusBar.h"
#include "platform/WidgetKit.h"
#include "users/NewUserRules.h"
#include "users/UserCodeText.h"

namespace {

constexpr int kToolBarHeight = 29;
constexpr int kStatusBarHeight = 19;
constexpr int kColumnWidth = 110;
constexpr int kRowHeight = 18;

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setToolTip(text);  // a user code is longer than its column
    return item;
}

QString textOf(const QTableWidget& grid, int row, int column) {
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

}  // namespace

TForm11::TForm11(const std::string& databaseFolder)
    : ToolWindow(QStringLiteral("Manažer uživatelů"), QSize(370, 217), QStringLiteral(":/window-background.jpg")),
      database_(databaseFolder) {
    setObjectName(QStringLiteral("Form11"));
    move(0, 0);
    Image1 = background();

    ToolBar1 = platform::named(new QToolBar(this), "ToolBar1");
    platform::describe(*ToolBar1, QStringLiteral("Panel nástrojů"), QStringLiteral("Přidání a odebrání uživatele"));
    ToolBar1->setGeometry(0, 0, width(), kToolBarHeight);
    ToolBar1->setIconSize(QSize(24, 24));
    ToolBar1->setMovable(false);
    ToolButton3 = ToolBar1->addSeparator();
    ToolButton3->setObjectName(QStringLiteral("ToolButton3"));
    ToolButton1 = platform::addToolButton(*ToolBar1, this, "ToolButton1", QStringLiteral("Přidat uživatele"), "user-add",
                                          &TForm11::ToolButton1Click);
    ToolButton2 = platform::addToolButton(*ToolBar1, this, "ToolButton2", QStringLiteral("Odebrat uživatele"),
                                          "user-remove", &TForm11::ToolButton2Click);

    sg = platform::named(new QTableWidget(1, 2, this), "sg");
    platform::describe(*sg, QStringLiteral("Uživatelé"), QStringLiteral("Jména a kódy uživatelů programu"));
    // The title row is row 0 of the grid itself, as the users' rows below it count from 1.
    sg->horizontalHeader()->hide();
    sg->verticalHeader()->hide();
    sg->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    sg->verticalHeader()->setDefaultSectionSize(kRowHeight);
    sg->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sg->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    sg->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sg->setSelectionMode(QAbstractItemView::SingleSelection);
    sg->setSelectionBehavior(QAbstractItemView::SelectItems);
    sg->setGeometry(0, kToolBarHeight, 2 * kColumnWidth + 2 * sg->frameWidth() + 18,
                    height() - kToolBarHeight - kStatusBarHeight);

    Edit1 = platform::makeHiddenField(this, "Edit1");

    StatusBar1 = platform::named(new platform::StatusBar(this), "StatusBar1");
    platform::describe(*StatusBar1, QStringLiteral("Stavový řádek"), QStringLiteral("Přihlášený uživatel"));
    StatusBar1->setGeometry(0, height() - kStatusBarHeight, width(), kStatusBarHeight);
    for (const int panelWidth : {110, 100, 100}) StatusBar1->addPanel(panelWidth);
    StatusBar1->setPanelText(0, QStringLiteral("Přihlášený uživatel :"));
    // The caption is never cut, whatever font the desktop gives; the bar has room to spare for it.
    QLabel* caption = StatusBar1->panel(0);
    caption->setFixedWidth(std::max(caption->width(), caption->fontMetrics().horizontalAdvance(caption->text()) + 8));

    setGridUsers({});
}

std::vector<users::User> TForm11::gridUsers() const {
    std::vector<users::User> rows;
    for (int row = 1; row < sg->rowCount(); ++row)
        rows.push_back({textOf(*sg, row, 0).toStdString(), textOf(*sg, row, 1).toStdString()});
    return rows;
}

void TForm11::appendRow(const QString& name, const QString& code) {
    const int row = sg->rowCount();
    sg->setRowCount(row + 1);
    sg->setItem(row, 0, cell(name));
    sg->setItem(row, 1, cell(code));
}

void TForm11::setGridUsers(const std::vector<users::User>& rows) {
    sg->setRowCount(1);
    for (const users::User& user : rows)
        appendRow(QString::fromStdString(user.name), QString::fromStdString(user.code));
    QFont bold = sg->font();
    bold.setBold(true);
    const QString titles[] = {QStringLiteral("Uživatel"), QStringLiteral("Id")};
    for (int column = 0; column < 2; ++column) {
        auto* title = new QTableWidgetItem(titles[column]);
        title->setFlags(Qt::ItemIsEnabled);  // the title row takes no selection
        title->setFont(bold);
        title->setBackground(palette().button());
        sg->setItem(0, column, title);
    }
}

void TForm11::loadGrid() { setGridUsers(database_.load()); }

QString TForm11::loggedInName() const { return StatusBar1->panelText(1); }

QString TForm11::loggedInCode() const { return StatusBar1->panelText(2); }

void TForm11::setLoggedIn(const QString& name, const QString& code) {
    StatusBar1->setPanelText(1, name);
    StatusBar1->setPanelText(2, code);
}

namespace {

const QString kAddingUser = QStringLiteral("Přidání uživatele");

// What cannot be stored or typed again at the login is refused at once, with nothing changed.
bool refused(const std::optional<QString>& reason) {
    if (reason) platform::tell(kAddingUser, *reason, platform::Icon::Warning);
    return reason.has_value();
}

// The password, masked and typed twice, as a typing error in a field nobody can see would lock the user out
// for good; nothing when it is refused or the repetition differs or is cancelled. A cancelled first box gives
// the empty password, which is a password.
std::optional<QString> askNewPassword(platform::Dialogs& boxes) {
    const QString password = boxes.input(QStringLiteral("Zadejte heslo"), QStringLiteral("Heslo"), QString(),
                                         platform::Echo::Password).value_or(QString());
    if (refused(users::passwordRefusal(password))) return std::nullopt;
    const std::optional<QString> again = boxes.input(QStringLiteral("Zadejte heslo znovu"),
                                                     QStringLiteral("Heslo znovu"), QString(), platform::Echo::Password);
    if (!again) return std::nullopt;
    if (*again != password) {
        platform::tell(kAddingUser, QStringLiteral("Zadaná hesla se neshodují. Uživatel nebyl přidán."),
                       platform::Icon::Warning);
        return std::nullopt;
    }
    return password;
}

}  // namespace

void TForm11::ToolButton1Click() {
    platform::Dialogs& boxes = platform::dialogs();
    // A cancelled box gives the empty text; the addition goes on all the same.
    const QString name = boxes.input(QStringLiteral("Zadejte jméno uživatele"), QStringLiteral("Jméno uživatele"),
                                     QString(), platform::Echo::Clear).value_or(QString());
    if (refused(users::nameRefusal(name))) return;
    const std::optional<QString> password = askNewPassword(boxes);
    if (!password) return;
    // Name, "#", password: the order the login joins them in, so that the new user can log in.
    platform::LineEditField code(*Edit1);
    const EngineKey codeText = users::userCodeText(name, *password);
    platform::callEngine([&] { Roster::strtohex(codeText.utf8(), code); });
    appendRow(name, Edit1->text());
    zavrit();
    forms().Form1->FormShow();
}

void TForm11::ToolButton2Click() {
    const int row = sg->currentRow();
    if (row < 1) return;
    const QString name = textOf(*sg, row, 0);
    const QString question = QStringLiteral("Opravdu chcete odstranit uživatele \"%1\" ?").arg(name);
    if (platform::dialogs().message(question, QStringLiteral("Odebrání uživatele"), platform::Icon::Question,
                                    platform::Buttons::YesNoDefaultNo) != platform::Answer::Yes)
        return;
    std::vector<users::User> rows = gridUsers();
    // The name cell empties before the save, so a save that fails leaves the emptied row on the screen.
    sg->item(row, 0)->setText(QString());
    database_.remove(rows, static_cast<std::size_t>(row - 1));
    forms().Form1->FormShow();
}

void TForm11::zavrit() { database_.save(gridUsers()); }

void TForm11::closeEvent(QCloseEvent* event) {
    try {
        zavrit();
        event->accept();
    } catch (...) {
        platform::reportCurrentException();
        event->ignore();
    }
}
