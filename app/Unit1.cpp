#include "app/Unit1.h"

#include <limits>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QToolBar>

#include "platform/ErrorReport.h"
#include "platform/Installation.h"
#include "platform/Jpeg.h"
#include "platform/ShellAssociation.h"
#include "platform/StatusBar.h"
#include "platform/Style.h"

namespace {

constexpr int kClientWidth = 540;
constexpr int kClientHeight = 272;
constexpr int kToolBarHeight = 29;
constexpr int kStatusBarHeight = 19;

template <class Widget>
Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* captionLabel(QWidget* parent, const char* name, const QString& text, QRect bounds) {
    auto* label = named(new QLabel(text, parent), name);
    platform::makeCaptionLabel(*label);
    label->setGeometry(bounds);
    return label;
}

}  // namespace

TForm1::TForm1(const LaunchContext& launch)
    : OpenDialog2(QStringLiteral("Otevřít soubor šifrované složky"),
                  QStringLiteral("Soubory šifrované složky (*.cff)")),
      launch_(launch) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Mivex 2 (%1BETA)").arg(QLatin1String(platform::installation::kVersion)));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    buildClientArea();
    buildKeyGroups();
    connectKeyGroups();
    buildMenu();
    buildToolBar();
    setFixedSize(sizeHint());
    move(229, 250);
    platform::guard([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::buildClientArea() {
    client = named(new QWidget(this), "client");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    Image1 = named(new platform::Picture(client), "Image1");
    Image1->setGeometry(0, kToolBarHeight, kClientWidth, kClientHeight - kToolBarHeight);
    Image1->setPicture(platform::loadJpeg(QStringLiteral(":/main-background.jpg")));

    Label6 = captionLabel(client, "Label6", QStringLiteral("Velikost souboru :"), {8, 40, 200, 16});
    // The value labels reach to the window's right edge, so that the longest result texts are drawn whole;
    // the key groups, created later, lie over them while shown.
    const int valueWidth = kClientWidth - 32 - 8;
    velikost = captionLabel(client, "velikost", QStringLiteral("...."), {32, 56, valueWidth, 16});
    Label8 = captionLabel(client, "Label8", QStringLiteral("Stav :"), {8, 72, 200, 16});
    stav = captionLabel(client, "stav", QStringLiteral("...."), {32, 88, valueWidth, 16});
    Label5 = captionLabel(client, "Label5", QStringLiteral("Uživatel :"), {8, 218, 200, 16});
    user = captionLabel(client, "user", QStringLiteral("..."), {32, 234, valueWidth, 16});

    buffer = named(new QLineEdit(client), "buffer");
    buffer->hide();
    buffer0 = named(new QLineEdit(client), "buffer0");
    buffer0->hide();
    fast = named(new QCheckBox(QStringLiteral("fast"), client), "fast");
    fast->hide();

    sb = named(new platform::StatusBar(client), "sb");
    sb->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
    // The progress bar lies over the second panel once FormCreate has added the panels.
    pb = named(new QProgressBar(client), "pb");
    pb->setRange(0, 100);
    pb->setValue(0);
    pb->setTextVisible(false);
}

void TForm1::buildKeyGroups() {
    sifr = named(new QGroupBox(QStringLiteral("Šifrovat"), client), "sifr");
    sifr->setGeometry(227, 104, 305, 106);
    platform::makeCaptionOnFrame(*sifr);
    Label3 = named(new QLabel(QStringLiteral("Šifrovací klíče"), sifr), "Label3");
    Label3->setGeometry(8, 20, 200, 14);
    const std::pair<QLineEdit**, QPushButton**> rows[] = {{&Edit1, &Button1}, {&Edit2, &Button2}, {&Edit3, &Button3}};
    const char* editNames[] = {"Edit1", "Edit2", "Edit3"};
    const char* buttonNames[] = {"Button1", "Button2", "Button3"};
    for (int i = 0; i < 3; ++i) {
        const int top = 37 + i * 22;
        *rows[i].second = named(new QPushButton(QStringLiteral("Gen>>"), sifr), buttonNames[i]);
        (*rows[i].second)->setGeometry(8, top, 46, 20);
        (*rows[i].first) = named(new QLineEdit(sifr), editNames[i]);
        (*rows[i].first)->setGeometry(58, top, 178, 20);
        const bool first = i == 0;
        (*rows[i].first)->setEnabled(first);
        (*rows[i].first)->setMaxLength(std::numeric_limits<int>::max());  // key parts have no length limit
        (*rows[i].second)->setEnabled(first);
    }
    BitBtn1 = named(new QPushButton(QStringLiteral("OK"), sifr), "BitBtn1");
    BitBtn1->setGeometry(242, 79, 55, 22);
    BitBtn1->setEnabled(false);
    sifr->hide();

    desifr = named(new QGroupBox(QStringLiteral("Dešifrovat"), client), "desifr");
    desifr->setGeometry(227, 100, 305, 110);
    platform::makeCaptionOnFrame(*desifr);
    Label4 = named(new QLabel(QStringLiteral("Dešifrovací klíče"), desifr), "Label4");
    Label4->setGeometry(8, 20, 200, 14);
    QLineEdit** fields[] = {&edit4, &edit5, &edit6};
    const char* fieldNames[] = {"edit4", "edit5", "edit6"};
    for (int i = 0; i < 3; ++i) {
        *fields[i] = named(new QLineEdit(desifr), fieldNames[i]);
        (*fields[i])->setGeometry(8, 37 + i * 23, 228, 20);
        (*fields[i])->setEchoMode(QLineEdit::Password);
        (*fields[i])->setEnabled(i == 0);
        (*fields[i])->setMaxLength(std::numeric_limits<int>::max());
    }
    BitBtn2 = named(new QPushButton(QStringLiteral("OK"), desifr), "BitBtn2");
    BitBtn2->setGeometry(242, 83, 55, 22);
    BitBtn2->setEnabled(false);
    desifr->hide();
}

void TForm1::addStatusPanels() {
    sb->addPanel(440);
    sb->addPanel(100);
    pb->setParent(sb);
    pb->setGeometry(441, 2, 100 - 2, sb->height() - 2);
    pb->show();
}

void TForm1::FormCreate() {
    addStatusPanels();
    openCommandLineArgument();
    // Not reached when the argument could not be read: that start writes no association.
    if (launch_.classesRoot) platform::registerAssociation(*launch_.classesRoot, launch_.programPath);
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A window restored from the task bar is shown again by the system; that is no new showing.
    if (!event->spontaneous()) platform::guard([this] { FormShow(); });
}
