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

TForm6::TForm6()
    : ToolWindow(QStringLiteral("Výběr složky"), QSize(265, 289), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form6"));
    platform::centreOn(*this, nullptr);
    Image1 = background();

    DriveComboBox1 = new DriveComboBox(this);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    DriveComboBox1->setGeometry(8, 8, 249, 22);
    DirectoryListBox1 = new DirectoryListBox(DriveComboBox1->drive(), this);
    DirectoryListBox1->setObjectName(QStringLiteral("DirectoryListBox1"));
    DirectoryListBox1->setGeometry(8, 36, 249, 194);
    Label1 = new QLabel(QStringLiteral("Vyberte složku a stiskněte ok"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    platform::makeCaptionLabel(*Label1);
    Label1->setGeometry(8, 236, 249, 16);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(182, 258, 75, 25);

    connect(DriveComboBox1, &QComboBox::currentIndexChanged, this, platform::guarded(this, &TForm6::DriveComboBox1Change));
    connect(Button1, &QPushButton::clicked, this, platform::guarded(this, &TForm6::Button1Click));
}

void TForm6::DriveComboBox1Change() { DirectoryListBox1->setDrive(DriveComboBox1->drive()); }

void TForm6::Button1Click() {
    TForm1& main = *forms().Form1;
    main.sb->setPanelText(0, DirectoryListBox1->directory());
    main.velikost->setText(QStringLiteral("Složka"));
    main.stav->setText(QStringLiteral("Připraveno k šifrování"));
    main.slozka_open();
    // Of the two folder operations only encryption fits a folder.
    main.setGroupEnabled(TForm1::Group::PackageDecryption, false);
    hide();
}
