// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/Unit12.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "engine/Roster.h"
#include "platform/Dialogs.h"
#include "platform/EngineCall.h"
#include "platform/ErrorReport.h"
#include "platform/Jpeg.h"
#include "platform/QtPorts.h"
#include "platform/Style.h"
#include "platform/WidgetKit.h"
#include "platform/WindowEnabling.h"
#include "users/Unit11.h"
#include "users/UserCodeText.h"

namespace {

constexpr int kClientHeight = 81;
constexpr QRect kHintPlace{10, 76, 276, 0};  // as high as the desktop's font needs
const QString kFirstUserHint =
    QStringLiteral("Zatím není založen žádný uživatel. Prvního přidáte v manažeru uživatelů (horní tlačítko).");

}  // namespace

TForm12::TForm12()
    : ToolWindow(QStringLiteral("Příhlášení do programu Mivex 2"), QSize(296, 81), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form12"));
    // A title and a close button, no minimise button.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    platform::centreOn(*this, nullptr);
    Image1 = background();

    Edit1 = platform::makeField(this, "Edit1", {64, 12, 180, 21}, QStringLiteral("Jméno"),
                                QStringLiteral("Přihlašovací jméno uživatele"));
    platform::makeCaptionField(*Edit1);
    Label1 = platform::makeCaptionLabel(this, "Label1", QStringLiteral("Jméno"), {10, 12, 50, 21}, Edit1);
    Edit2 = platform::makeField(this, "Edit2", {64, 46, 180, 21}, QStringLiteral("Heslo"),
                                QStringLiteral("Heslo uživatele; Enter přihlásí"), platform::Echo::Password);
    platform::makeCaptionField(*Edit2);
    Label2 = platform::makeCaptionLabel(this, "Label2", QStringLiteral("Heslo"), {10, 46, 50, 21}, Edit2);

    BitBtn2 = platform::makePictureButton(this, "BitBtn2", QStringLiteral("Manažer uživatelů"), "users",
                                          {254, 9, 28, 27});
    BitBtn1 = platform::makePictureButton(this, "BitBtn1", QStringLiteral("Přihlásit"), "login", {254, 43, 28, 27});
    // No default button: Enter in the name field must not log in.
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    Edit3 = platform::makeHiddenField(this, "Edit3");
    setTabOrder(Edit1, Edit2);
    firstUserHint = platform::makeCaptionLabel(this, "firstUserHint", kFirstUserHint, kHintPlace, BitBtn2);
    firstUserHint->setWordWrap(true);
    firstUserHint->resize(kHintPlace.width(), firstUserHint->heightForWidth(kHintPlace.width()));
    firstUserHint->hide();

    connect(BitBtn1, &QPushButton::clicked, this, platform::guarded(this, &TForm12::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, platform::guarded(this, &TForm12::BitBtn2Click));
    // Edit2KeyPress: Enter logs in; Enter in Edit1 is left alone.
    connect(Edit2, &QLineEdit::returnPressed, this, platform::guarded(this, &TForm12::BitBtn1Click));
}

void TForm12::BitBtn1Click() {
    TForm11& manager = *forms().Form11;
    platform::LineEditField codeField(*Edit3);
    const EngineKey codeText = users::userCodeText(Edit1->text(), Edit2->text());
    platform::callEngine([&] { Roster::strtohex(codeText.utf8(), codeField); });
    const QString code = Edit3->text();
    const QString storedName = QString::fromStdString(manager.database().lookupLogin(code.toStdString()));
    if (storedName.isEmpty() && nobodyToLogIn()) {
        platform::tell(QStringLiteral("Žádný uživatel"), kFirstUserHint, platform::Icon::Information);
        return;
    }
    if (storedName.isEmpty()) {
        platform::tell(QStringLiteral("Nekorektní přihlášení"),
                       QStringLiteral("Přihlášení nebylo korektní. Zkuste se přihlásit znovu."), platform::Icon::Warning);
        Edit1->clear();
        Edit2->clear();
        return;
    }
    TForm1& mainWindow = *forms().Form1;
    platform::setWindowEnabled(mainWindow, true);
    hide();
    manager.setLoggedIn(storedName, code);
    mainWindow.user->setText(storedName);
    putAway_.showAgain();
}

void TForm12::BitBtn2Click() { forms().Form11->showInFront(); }

bool TForm12::nobodyToLogIn() const { return forms().Form11->gridUsers().empty(); }

QWidget* TForm12::firstControl() const { return firstUserHint->isHidden() ? static_cast<QWidget*>(Edit1) : BitBtn2; }

void TForm12::showForLogin() {
    TForm1& mainWindow = *forms().Form1;
    const bool nobody = nobodyToLogIn();
    firstUserHint->setVisible(nobody);
    setFixedSize(width(), nobody ? firstUserHint->geometry().bottom() + 8 : kClientHeight);
    Image1->setGeometry(rect());
    putAway_.putAway({this, &mainWindow, forms().Form11});
    mainWindow.installEventFilter(this);  // once: Qt keeps a filter only once
    takeKeyboard();
}

void TForm12::takeKeyboard() {
    showInFront();
    firstControl()->setFocus(Qt::OtherFocusReason);
}

void TForm12::closeEvent(QCloseEvent* event) {
    ToolWindow::closeEvent(event);
    // Leaves the message loop without closing, asking or saving anything else.
    QCoreApplication::exit(0);
}

void TForm12::showEvent(QShowEvent* event) {
    ToolWindow::showEvent(event);
    platform::setFocusAfterBoxes(firstControl());
}

void TForm12::hideEvent(QHideEvent* event) {
    ToolWindow::hideEvent(event);
    // A minimised window is hidden too, and comes back at once (changeEvent).
    if (!isMinimized()) platform::setFocusAfterBoxes(nullptr);
}

void TForm12::changeEvent(QEvent* event) {
    ToolWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            takeKeyboard();
        });
}

bool TForm12::eventFilter(QObject* watched, QEvent* event) {
    const bool waiting = isVisible() || isMinimized();
    const bool reached = event->type() == QEvent::WindowActivate ||
                         (event->type() == QEvent::WindowStateChange && !forms().Form1->isMinimized());
    if (watched == forms().Form1 && waiting && reached && !QApplication::activeModalWidget())
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !QApplication::activeModalWidget()) takeKeyboard();
        });
    return ToolWindow::eventFilter(watched, event);
}
