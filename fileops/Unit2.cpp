// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/Unit2.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "engine/VQ104.h"
#include "engine/VQ105.h"
#include "engine/VQ106.h"
#include "engine/VQ201.h"
#include "fileops/OpenFileCheck.h"
#include "platform/EngineCall.h"
#include "platform/EngineKey.h"
#include "platform/ErrorReport.h"
#include "platform/Style.h"
#include "platform/WidgetKit.h"

TForm2::TForm2()
    : ToolWindow(QStringLiteral("Klíč pro dešifrování"), QSize(281, 57), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form2"));
    platform::centreOn(*this, nullptr);
    Image1 = background();

    MaskEdit1 = platform::makeField(this, "MaskEdit1", {8, 18, 185, 21}, QStringLiteral("Klíč"),
                                    QStringLiteral("Klíč k souboru zvolené starší báze"), platform::Echo::Password);
    BitBtn1 = platform::makeDefaultButton(*this, this, "BitBtn1", QStringLiteral("&OK"), {200, 16, 73, 25},
                                          QStringLiteral("Dešifruje otevřený soubor zvolenou bází"));
    connect(BitBtn1, &QPushButton::clicked, this, platform::guarded(this, &TForm2::BitBtn1Click));
}

void TForm2::BitBtn1Click() {
    const TForm1& main = *forms().Form1;
    // The dialog keeps the last file's name after the main window was reset; only an open encrypted file counts.
    if (!openFileFits(main, NeededFile::Encrypted)) return;
    const std::string path = main.OpenDialog1.fileName().toStdString();
    const EngineKey key(MaskEdit1->text());
    const int base = main.baze;
    platform::callEngine([&] {
        switch (base) {
        case 104:
            VQ104::desifrovat(path, key.utf8());
            break;
        case 105:
            VQ105::desifrovat(path, key.utf8());
            break;
        case 106:
            VQ106::desifrovat(path, key.utf8());
            break;
        case 201:
            VQ201::desifrovat(path, key.utf8());
            break;
        default:
            break;
        }
    });
    MaskEdit1->clear();
    hide();
}
