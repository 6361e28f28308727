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
#include "platform/ErrorReport.h"
#include "platform/QtPorts.h"
#include "platform/Style.h"
#include "platform/WindowEnabling.h"
#include "users/Unit11.h"
#include "users/UserCodeText.h"

namespace {

QLineEdit* field(QWidget* parent, const char* name, QRect bounds) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(bounds);
    QFont bold = edit->font();
    bold.setBold(true);
    edit->setFont(bold);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Text, QColor(0x00, 0x80, 0x80));
    edit->setPalette(palette);
    return edit;
}

QPushButton* pictureButton(QWidget* parent, const char* name, const QString& hint, const char* picture, QRect bounds) {
    auto* button = new QPushButton(QIcon(QStringLiteral(":/toolbar/%1.png").arg(QLatin1String(picture))), QString(),
                                   parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setIconSize(QSize(20, 20));
    button->setGeometry(bounds);
    // No default button: Enter in the name field must not log in.
    button->setAutoDefault(false);
    return button;
}

}  // namespace

TForm12::TForm12()
    : ToolWindow(QStringLiteral("Příhlášení do programu Mivex 2"), QSize(296, 81), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form12"));
    // A title and a close button, no minimise button.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    platform::centreOn(*this, nullptr);
    Image1 = background();

    Label1 = new QLabel(QStringLiteral("Jméno"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    platform::makeCaptionLabel(*Label1);
    Label1->setGeometry(10, 12, 50, 21);
    Edit1 = field(this, "Edit1", {64, 12, 180, 21});

    Label2 = new QLabel(QStringLiteral("Heslo"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    platform::makeCaptionLabel(*Label2);
    Label2->setGeometry(10, 46, 50, 21);
    Edit2 = field(this, "Edit2", {64, 46, 180, 21});
    Edit2->setEchoMode(QLineEdit::Password);

    BitBtn2 = pictureButton(this, "BitBtn2", QStringLiteral("Manažer uživatelů"), "users", {254, 9, 28, 27});
    BitBtn1 = pictureButton(this, "BitBtn1", QStringLiteral("Přihlásit"), "login", {254, 43, 28, 27});
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->hide();
    setTabOrder(Edit1, Edit2);

    connect(BitBtn1, &QPushButton::clicked, this, platform::guarded(this, &TForm12::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, platform::guarded(this, &TForm12::BitBtn2Click));
    // Edit2KeyPress: Enter logs in; Enter in Edit1 is left alone.
    connect(Edit2, &QLineEdit::returnPressed, this, platform::guarded(this, &TForm12::BitBtn1Click));
}

void TForm12::BitBtn1Click() {
    TForm11& manager = *forms().Form11;
    platform::LineEditField codeField(*Edit3);
    Roster::strtohex(users::userCodeText(Edit1->text(), Edit2->text()).utf8(), codeField);
    const QString code = Edit3->text();
    const QString storedName = QString::fromStdString(manager.database().lookupLogin(code.toStdString()));
    if (storedName.isEmpty()) {
        platform::dialogs().message(QStringLiteral("Přihlášení nebylo korektní. Zkuste se přihlásit znovu."),
                                    QStringLiteral("Nekorektní přihlášení"), platform::Icon::Warning,
                                    platform::Buttons::Ok);
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

void TForm12::showForLogin() {
    TForm1& mainWindow = *forms().Form1;
    putAway_.putAway({this, &mainWindow, forms().Form11});
    mainWindow.installEventFilter(this);  // once: Qt keeps a filter only once
    takeKeyboard();
}

void TForm12::takeKeyboard() {
    showInFront();
    Edit1->setFocus(Qt::OtherFocusReason);
}

void TForm12::closeEvent(QCloseEvent* event) {
    ToolWindow::closeEvent(event);
    // Leaves the message loop without closing, asking or saving anything else.
    QCoreApplication::exit(0);
}

void TForm12::showEvent(QShowEvent* event) {
    ToolWindow::showEvent(event);
    platform::setFocusAfterBoxes(Edit1);
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
