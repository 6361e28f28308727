// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/Unit7.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "engine/VQ202.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"
#include "platform/KeptKey.h"
#include "platform/Style.h"
#include "platform/WidgetKit.h"

TForm7::TForm7()
    : ToolWindow(QStringLiteral("Dešifrování složky"), QSize(466, 268), QStringLiteral(":/window-background.jpg")),
      parts_(buildFolderWindowParts(*this, {"Label6", QStringLiteral("Stav dešifrování souboru :"), "Label7", true})) {
    setObjectName(QStringLiteral("Form7"));
    platform::centreOn(*this, nullptr);
    Image1 = background();

    slozka = folderWindowLabel(*this, "slozka", QStringLiteral("...."), 186, 8, 272);
    Label1 = folderWindowLabel(*this, "Label1", QStringLiteral("Soubor šifrované složky :"), 8, 8, 170, slozka);
    const KeyGroup keyGroup = buildKeyGroup(*this, QStringLiteral("Dešifrovat se zadáním klíče"),
                                            QStringLiteral("Dešifrovací klíč"),
                                            QStringLiteral("Obnoví a dešifruje složku z balíčku zadaným klíčem"));
    gb = keyGroup.gb;
    Label3 = keyGroup.Label3;
    BitBtn1 = keyGroup.BitBtn1;
    ecode = platform::makeField(gb, "ecode", {8, 40, 350, 21}, QStringLiteral("Dešifrovací klíč"),
                                QStringLiteral("Klíč, kterým byla složka zašifrována"), platform::Echo::Password);
    Label3->setBuddy(ecode);
    keptKey_ = new platform::KeptKey({ecode}, this);

    Label2 = parts_.Label2;
    soubor = parts_.soubor;
    soubor->setText(QStringLiteral(" "));
    Label6 = parts_.barCaption;
    pbf = parts_.pbf;
    GroupBox1 = parts_.GroupBox1;
    Label7 = parts_.statusCaption;
    status = parts_.status;
    Label4 = parts_.Label4;
    pb1 = parts_.pb1;
    Label5 = parts_.Label5;
    pb2 = parts_.pb2;
    ErrorMsg = parts_.ErrorMsg;
    HashEdit = parts_.HashEdit;
    FileListBox = parts_.FileListBox;  // never pointed anywhere: it shows the working directory of start-up

    connect(ecode, &QLineEdit::textChanged, this, platform::guarded(this, &TForm7::ecodeChange));
    connect(BitBtn1, &QPushButton::clicked, this, platform::guarded(this, &TForm7::BitBtn1Click));
}

void TForm7::ecodeChange() {
    if (!ecode->text().isEmpty()) BitBtn1->setEnabled(true);
}

void TForm7::BitBtn1Click() {
    ErrorMsg->clear();
    HashEdit->clear();
    callFolderLibrary(&VQ202::desifrdir, slozka->text(), *this, parts_, ecode->text());
    pb1->setValue(0);
    pb2->setValue(0);
    if (!ErrorMsg->text().isEmpty()) {
        platform::tell(QStringLiteral("Chyba"), ErrorMsg->text(), platform::Icon::Error);
    } else {
        platform::tell(QStringLiteral("Dešifrování dokončeno"), QStringLiteral("Složka byla úspěšně obnovena a dešifrována."),
                       platform::Icon::Information);
    }
}

void TForm7::showForKey() {
    showInFront();
    keptKey_->offer();
}
