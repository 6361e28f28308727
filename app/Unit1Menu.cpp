// SPDX-License-Identifier: GPL-3.0-or-later
// The main menu and the toolbar of the main window, each entry bound to its handler through the guard.
// Every menu and entry has a mnemonic ("&"), unique among its neighbours; those of the menu bar leave the
// letters of the key groups' buttons (G, E, N, K) free.
#include <QLayout>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "app/Unit1.h"
#include "platform/ErrorReport.h"
#include "platform/WidgetKit.h"

namespace {

using Handler = void (TForm1::*)();

template <class Parent>
QMenu* submenu(Parent* parent, const char* name, const QString& caption, bool enabled = true) {
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    // A screen reader names an open menu by its title.
    menu->setWindowTitle(QString(caption).remove(QLatin1Char('&')));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setEnabled(enabled);
    return menu;
}

QAction* entry(TForm1* window, QMenu* parent, const char* name, const QString& caption, Handler handler,
               bool enabled = true) {
    QAction* action = parent->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    if (handler) QObject::connect(action, &QAction::triggered, window, platform::guarded(window, handler));
    return action;
}

}  // namespace

void TForm1::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    platform::describe(*bar, QStringLiteral("Hlavní nabídka"), QStringLiteral("Nabídka všech operací programu"));

    Soubor1 = submenu(bar, "Soubor1", QStringLiteral("&Otevřít"));
    Otevt1 = entry(this, Soubor1, "Otevt1", QStringLiteral("&Soubor"), &TForm1::Otevt1Click);
    Sloku6 = entry(this, Soubor1, "Sloku6", QStringLiteral("S&ložku"), &TForm1::Sloku6Click);
    Souborifrovansloky1 = entry(this, Soubor1, "Souborifrovansloky1", QStringLiteral("Soubor ši&frované složky"),
                                &TForm1::Souborifrovansloky1Click);

    Uivatel1 = submenu(bar, "Uivatel1", QStringLiteral("&Uživatelé"));
    // The menu's way to the user manager, as the toolbar's user manager button.
    Manaeruivatel1 = entry(this, Uivatel1, "Manaeruivatel1", QStringLiteral("&Manažer uživatelů"),
                           &TForm1::ToolButton28Click);

    ifrovn1 = submenu(bar, "ifrovn1", QStringLiteral("Ši&frování"));
    ifrovat1 = submenu(ifrovn1, "ifrovat1", QStringLiteral("Ši&frovat"));
    ifrovnsezadnmkle1 = submenu(ifrovat1, "ifrovnsezadnmkle1", QStringLiteral("Šifrování se &zadáním klíče"));
    Soubor2 = entry(this, ifrovnsezadnmkle1, "Soubor2", QStringLiteral("&Soubor"), &TForm1::ifrovat1Click, false);
    Sloku1 = entry(this, ifrovnsezadnmkle1, "Sloku1", QStringLiteral("S&ložku"), &TForm1::soubor2Click, false);
    Statickifrovn1 = submenu(ifrovat1, "Statickifrovn1", QStringLiteral("S&tatické šifrování "));
    Soubor3 = entry(this, Statickifrovn1, "Soubor3", QStringLiteral("&Soubor"), &TForm1::soubor3Click, false);
    Jednosmrnifrovn1 = submenu(ifrovat1, "Jednosmrnifrovn1", QStringLiteral("&Jednosměrné šifrování"));
    Soubor4 = entry(this, Jednosmrnifrovn1, "Soubor4", QStringLiteral("&Soubor"), &TForm1::Jednosmrnifrovn1Click,
                    false);
    Deifrovat1 = submenu(ifrovn1, "Deifrovat1", QStringLiteral("&Dešifrovat"));
    Deifrovnsezadnmkle1 = submenu(Deifrovat1, "Deifrovnsezadnmkle1", QStringLiteral("Dešifrování se &zadáním klíče"));
    Soubor5 = entry(this, Deifrovnsezadnmkle1, "Soubor5", QStringLiteral("&Soubor"), &TForm1::Deifrovat1Click, false);
    Sloku4 = entry(this, Deifrovnsezadnmkle1, "Sloku4", QStringLiteral("S&ložku"), &TForm1::Sloku4Click, false);
    Statickdeifrovn1 = submenu(Deifrovat1, "Statickdeifrovn1", QStringLiteral("S&tatické dešifrování"));
    Soubor6 = entry(this, Statickdeifrovn1, "Soubor6", QStringLiteral("&Soubor"), &TForm1::Statickdeifrovn1Click,
                    false);

    Hash1 = submenu(bar, "Hash1", QStringLiteral("&Hash"));
    Vytvoithashsouboru1 = entry(this, Hash1, "Vytvoithashsouboru1", QStringLiteral("&Vytvořit hash souboru"),
                                &TForm1::Vytvoithashsouboru1Click, false);

    VQ1x1 = submenu(bar, "VQ1x1", QStringLiteral("&VQx.x.x"));
    VQ1041 = submenu(VQ1x1, "VQ1041", QStringLiteral("VQ1.0&4"), false);
    Deifrovat4 = entry(this, VQ1041, "Deifrovat4", QStringLiteral("&Dešifrovat"), &TForm1::Deifrovat4Click);
    VQ1051 = submenu(VQ1x1, "VQ1051", QStringLiteral("VQ1.0&5"), false);
    Deifrovat3 = entry(this, VQ1051, "Deifrovat3", QStringLiteral("&Dešifrovat"), &TForm1::Deifrovat3Click);
    VQ1061 = submenu(VQ1x1, "VQ1061", QStringLiteral("VQ1.0&6"), false);
    Deifrovat2 = entry(this, VQ1061, "Deifrovat2", QStringLiteral("&Dešifrovat"), &TForm1::Deifrovat2Click);
    VQ20101 = submenu(VQ1x1, "VQ20101", QStringLiteral("VQ&2.0.1.0"), false);
    Deifrovatsezadnmkle1 = entry(this, VQ20101, "Deifrovatsezadnmkle1", QStringLiteral("&Dešifrovat se zadáním klíče"),
                                 &TForm1::Deifrovatsezadnmkle1Click);

    Genertor1 = submenu(bar, "Genertor1", QStringLiteral("Generá&tor"));
    Generovatkl1 = entry(this, Genertor1, "Generovatkl1", QStringLiteral("&Generovat klíč"), &TForm1::Generovatkl1Click);

    Mivex1 = submenu(bar, "Mivex1", QStringLiteral("&Mivex"));
    Oaplikaci1 = entry(this, Mivex1, "Oaplikaci1", QStringLiteral("&O aplikaci"), &TForm1::Mivex1Click);

    Podpora1 = submenu(bar, "Podpora1", QStringLiteral("&Podpora"));
    Mivexforum1 = entry(this, Podpora1, "Mivexforum1", QStringLiteral("Mivex &forum"), &TForm1::Podpora1Click);
    // There is no update service to ask; the entry has no action.
    Zkontrolovatnovverze1 = entry(this, Podpora1, "Zkontrolovatnovverze1", QStringLiteral("Zkontrolovat &nové verze"),
                                  nullptr);
}

void TForm1::buildToolBar() {
    ToolBar1 = new QToolBar(client);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    platform::describe(*ToolBar1, QStringLiteral("Panel nástrojů"), QStringLiteral("Tlačítka operací programu"));
    ToolBar1->setGeometry(0, 0, client->width(), 29);
    ToolBar1->setIconSize(QSize(16, 16));
    // Nineteen buttons and nine bars fit the window's width only with tight buttons.
    ToolBar1->setContentsMargins(0, 0, 0, 0);
    ToolBar1->layout()->setSpacing(0);
    ToolBar1->setStyleSheet(QStringLiteral("QToolButton { padding: 2px; margin: 0px; } QToolBar { spacing: 0px; padding: 0px; } QToolBar::separator { width: 4px; }"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);

    auto button = [this](const char* name, const QString& hint, const char* picture, Handler handler,
                         bool enabled) {
        QAction* action = platform::addToolButton(*ToolBar1, this, name, hint, picture, handler);
        action->setEnabled(enabled);
        return action;
    };

    ToolButton2 = button("ToolButton2", QStringLiteral("Otevřít soubor"), "open-file", &TForm1::Otevt1Click, true);
    ToolButton18 = button("ToolButton18", QStringLiteral("Otevřít složku"), "open-folder", &TForm1::Sloku6Click, true);
    ToolButton23 = button("ToolButton23", QStringLiteral("Otevřít soubor šifrované složky"), "open-package",
                          &TForm1::Souborifrovansloky1Click, true);
    ToolBar1->addSeparator();
    ToolButton28 = button("ToolButton28", QStringLiteral("Manažer uživatelů"), "users", &TForm1::ToolButton28Click,
                          true);
    ToolBar1->addSeparator();
    ToolButton4 = button("ToolButton4", QStringLiteral("Šifrovat soubor se zadáním klíče"), "encrypt",
                         &TForm1::ifrovat1Click, false);
    ToolButton5 = button("ToolButton5", QStringLiteral("Staticky širovat soubor"), "encrypt-static",
                         &TForm1::soubor3Click, false);
    ToolButton6 = button("ToolButton6", QStringLiteral("Zničit soubor"), "destroy", &TForm1::Jednosmrnifrovn1Click,
                         false);
    ToolBar1->addSeparator();
    ToolButton8 = button("ToolButton8", QStringLiteral("Dešifrovat soubor se zadáním klíče"), "decrypt",
                         &TForm1::Deifrovat1Click, false);
    ToolButton9 = button("ToolButton9", QStringLiteral("Staticky dešifrovat soubor"), "decrypt-static",
                         &TForm1::Statickdeifrovn1Click, false);
    ToolBar1->addSeparator();
    ToolButton11 = button("ToolButton11", QStringLiteral("Šifrovat složku"), "encrypt-folder", &TForm1::soubor2Click,
                          false);
    ToolButton20 = button("ToolButton20", QStringLiteral("Dešifrovat složku"), "decrypt-folder", &TForm1::Sloku4Click,
                          false);
    ToolBar1->addSeparator();
    ToolButton13 = button("ToolButton13", QStringLiteral("Dešifrovat soubor bází VQ1.0.4"), "base-104",
                          &TForm1::Deifrovat4Click, false);
    ToolButton14 = button("ToolButton14", QStringLiteral("Dešifrovat soubor bází VQ1.0.5"), "base-105",
                          &TForm1::Deifrovat3Click, false);
    ToolButton15 = button("ToolButton15", QStringLiteral("Dešifrovat soubor bází VQ1.0.6"), "base-106",
                          &TForm1::Deifrovat2Click, false);
    ToolButton19 = button("ToolButton19", QStringLiteral("Dešifrovat soubor bází VQ2.0.1.0"), "base-201",
                          &TForm1::Deifrovatsezadnmkle1Click, false);
    ToolBar1->addSeparator();
    ToolButton21 = button("ToolButton21", QStringLiteral("Vytvořit otisk souboru"), "fingerprint",
                          &TForm1::ToolButton21Click, false);
    ToolBar1->addSeparator();
    ToolButton17 = button("ToolButton17", QStringLiteral("Generovat klíč"), "key", &TForm1::Generovatkl1Click, true);
    ToolBar1->addSeparator();
    ToolButton24 = button("ToolButton24", QStringLiteral("Podpora"), "support", &TForm1::ToolButton24Click, true);
    ToolBar1->addSeparator();
    ToolButton25 = button("ToolButton25", QStringLiteral("O programu Mivex"), "about", &TForm1::ToolButton25Click,
                          true);
}
