// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Unit1.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QToolBar>

#include "platform/StopButton.h"
#include "platform/CaptionOnFrame.h"
#include "platform/ErrorReport.h"
#include "platform/Installation.h"
#include "platform/Jpeg.h"
#include "platform/ShellAssociation.h"
#include "platform/StatusBar.h"
#include "platform/Style.h"
#include "platform/WidgetKit.h"

namespace {

constexpr int kClientWidth = 540;
constexpr int kClientHeight = 272;
constexpr int kToolBarHeight = 29;
constexpr int kStatusBarHeight = 19;

using platform::describe;
using platform::named;

const QString kKeyPartsJoin = QStringLiteral("Části klíče se spojí za sebou v jeden klíč");
const QString kPartOrdinals[] = {QStringLiteral("1. část"), QStringLiteral("2. část"), QStringLiteral("3. část")};

}  // namespace

TForm1::TForm1(const LaunchContext& launch)
    : OpenDialog2(QStringLiteral("Otevřít soubor šifrované složky"),
                  QStringLiteral("Soubory šifrované složky (*.cff)")),
      launch_(launch) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Mivex 2 (%1BETA)").arg(QLatin1String(platform::installation::kVersion)));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // Drawn over a pale picture: the light palette keeps every text on it readable.
    platform::keepLightPalette(*this);
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

    // The value labels reach to the window's right edge, so that the longest result texts are drawn whole;
    // the key groups, created later, lie over them while shown. Each caption names its value label.
    const int valueWidth = kClientWidth - 32 - 8;
    velikost = platform::makeCaptionLabel(client, "velikost", QStringLiteral("...."), {32, 56, valueWidth, 16});
    Label6 = platform::makeCaptionLabel(client, "Label6", QStringLiteral("Velikost souboru :"), {8, 40, 200, 16},
                                        velikost);
    stav = platform::makeCaptionLabel(client, "stav", QStringLiteral("...."), {32, 88, valueWidth, 16});
    Label8 = platform::makeCaptionLabel(client, "Label8", QStringLiteral("Stav :"), {8, 72, 200, 16}, stav);
    user = platform::makeCaptionLabel(client, "user", QStringLiteral("..."), {32, 234, valueWidth, 16});
    Label5 = platform::makeCaptionLabel(client, "Label5", QStringLiteral("Uživatel :"), {8, 218, 200, 16}, user);

    buffer = platform::makeHiddenField(client, "buffer");
    buffer0 = platform::makeHiddenField(client, "buffer0");
    fast = named(new QCheckBox(QStringLiteral("fast"), client), "fast");
    fast->hide();

    sb = named(new platform::StatusBar(client), "sb");
    sb->setGeometry(0, kClientHeight - kStatusBarHeight, kClientWidth, kStatusBarHeight);
    describe(*sb, QStringLiteral("Stavový řádek"), QStringLiteral("Cesta k otevřenému souboru, složce nebo balíčku"));
    // The progress bar lies over the second panel once FormCreate has added the panels.
    pb = platform::makeProgressBar(client, "pb", {}, QStringLiteral("Průběh"),
                                   QStringLiteral("Průběh právě běžící operace"));
}

void TForm1::buildKeyGroups() {
    sifr = named(new platform::CaptionOnFrameGroupBox(QStringLiteral("Šifrovat"), client), "sifr");
    sifr->setGeometry(227, 104, 305, 106);
    // Each "Gen>>" has its own mnemonic, none taken by the menu bar.
    const QString genCaptions[] = {QStringLiteral("&Gen>>"), QStringLiteral("G&en>>"), QStringLiteral("Ge&n>>")};
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3};
    QPushButton** buttons[] = {&Button1, &Button2, &Button3};
    const char* editNames[] = {"Edit1", "Edit2", "Edit3"};
    const char* buttonNames[] = {"Button1", "Button2", "Button3"};
    for (int i = 0; i < 3; ++i) {
        const int top = 37 + i * 22;
        QLineEdit* edit = *edits[i] = platform::makeField(
            sifr, editNames[i], {58, top, 178, 20}, QStringLiteral("Šifrovací klíč, ") + kPartOrdinals[i], kKeyPartsJoin);
        QPushButton* button = *buttons[i] =
            platform::makeButton(sifr, buttonNames[i], genCaptions[i], {8, top, 46, 20},
                                 QStringLiteral("Vyplní %1 klíče nově vygenerovaným klíčem").arg(kPartOrdinals[i]));
        describe(*button, QStringLiteral("Gen>> ") + kPartOrdinals[i], button->accessibleDescription());
        edit->setEnabled(i == 0);
        button->setEnabled(i == 0);
    }
    Label3 = platform::makeLabel(sifr, "Label3", QStringLiteral("Šifrovací klíče"), {8, 20, 200, 14}, Edit1);
    BitBtn1 = platform::makeDefaultButton(*this, sifr, "BitBtn1", QStringLiteral("O&K"), {242, 79, 55, 22},
                                          QStringLiteral("Zašifruje otevřený soubor zadaným klíčem"));
    BitBtn1->setEnabled(false);
    sifr->hide();

    desifr = named(new platform::CaptionOnFrameGroupBox(QStringLiteral("Dešifrovat"), client), "desifr");
    desifr->setGeometry(227, 100, 305, 110);
    QLineEdit** fields[] = {&edit4, &edit5, &edit6};
    const char* fieldNames[] = {"edit4", "edit5", "edit6"};
    for (int i = 0; i < 3; ++i) {
        *fields[i] = platform::makeField(desifr, fieldNames[i], {8, 37 + i * 23, 228, 20},
                                         QStringLiteral("Dešifrovací klíč, ") + kPartOrdinals[i], kKeyPartsJoin,
                                         platform::Echo::Password);
        (*fields[i])->setEnabled(i == 0);
    }
    Label4 = platform::makeLabel(desifr, "Label4", QStringLiteral("Dešifrovací klíče"), {8, 20, 200, 14}, edit4);
    BitBtn2 = platform::makeDefaultButton(*this, desifr, "BitBtn2", QStringLiteral("O&K"), {242, 83, 55, 22},
                                          QStringLiteral("Dešifruje otevřený soubor zadaným klíčem"));
    BitBtn2->setEnabled(false);
    desifr->hide();
}

void TForm1::addStatusPanels() {
    sb->addPanel(440);
    sb->addPanel(100);
    pb->setParent(sb);
    pb->setGeometry(441, 2, 100 - 2, sb->height() - 2);
    pb->show();
    // Over the end of the path's panel, beside the bar, only while an operation runs.
    platform::makeStopButton(sb, {441 - 62, 1, 60, sb->height() - 2});
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
