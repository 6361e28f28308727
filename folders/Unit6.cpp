// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/Unit6.h"

#include <QLabel>
#include <QPushButton>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "folders/DirectoryListBox.h"
#include "folders/DriveComboBox.h"
#include "platform/ErrorReport.h"
#include "platform/StatusBar.h"
#include "platform/Style.h"
#include "platform/WidgetKit.h"

TForm6::TForm6()
    : ToolWindow(QStringLiteral("Výběr složky"), QSize(265, 289), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form6"));
    platform::centreOn(*this, nullptr);
    Image1 = background();

    DriveComboBox1 = platform::named(new DriveComboBox(this), "DriveComboBox1");
    DriveComboBox1->setGeometry(8, 8, 249, 22);
    platform::describe(*DriveComboBox1, QStringLiteral("Disk"), QStringLiteral("Disk nebo domovská složka"));
    DirectoryListBox1 = platform::named(new DirectoryListBox(DriveComboBox1->drive(), this), "DirectoryListBox1");
    DirectoryListBox1->setGeometry(8, 36, 249, 194);
    platform::describe(*DirectoryListBox1, QStringLiteral("Složky"),
                       QStringLiteral("Označená složka se zašifruje; dvojklik nebo Enter ji otevře"));
    Label1 = platform::makeCaptionLabel(this, "Label1", QStringLiteral("Vyberte složku a stiskněte ok"),
                                        {8, 236, 249, 16}, DirectoryListBox1);
    chosenFolder = platform::makeCaptionLabel(this, "chosenFolder", QString(), {8, 262, 170, 16});
    Button1 = platform::makeButton(this, "Button1", QStringLiteral("&OK"), {182, 258, 75, 25},
                                   QStringLiteral("Otevře označenou složku k šifrování"));

    connect(DriveComboBox1, &QComboBox::currentIndexChanged, this, platform::guarded(this, &TForm6::DriveComboBox1Change));
    connect(DirectoryListBox1, &QListWidget::currentItemChanged, this, [this] { showChosenFolder(); });
    connect(Button1, &QPushButton::clicked, this, platform::guarded(this, &TForm6::Button1Click));
    showChosenFolder();
}

void TForm6::showForChoice() {
    showInFront();
    DirectoryListBox1->setFocus(Qt::OtherFocusReason);
}

void TForm6::DriveComboBox1Change() { DirectoryListBox1->setDrive(DriveComboBox1->drive()); }

// The end of a long path is what tells folders apart.
void TForm6::showChosenFolder() {
    const QString folder = DirectoryListBox1->chosenFolder();
    chosenFolder->setText(chosenFolder->fontMetrics().elidedText(folder, Qt::ElideLeft, chosenFolder->width()));
    chosenFolder->setToolTip(folder);
    platform::describe(*chosenFolder, QStringLiteral("Složka k šifrování"), folder);
}

void TForm6::Button1Click() {
    const QString folder = DirectoryListBox1->chosenFolder();
    // Opened in the list, so that the window shows it again next time.
    DirectoryListBox1->setDirectory(folder);
    TForm1& main = *forms().Form1;
    main.sb->setPanelText(0, folder);
    main.velikost->setText(QStringLiteral("Složka"));
    main.stav->setText(QStringLiteral("Připraveno k šifrování"));
    main.slozka_open();
    // Of the two folder operations only encryption fits a folder.
    main.setGroupEnabled(TForm1::Group::PackageDecryption, false);
    hide();
}
