// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/Unit4.h"

#include <QFontDatabase>
#include <QLineEdit>

#include "platform/EnterKey.h"
#include "platform/Style.h"
#include "platform/WidgetKit.h"

TForm4::TForm4()
    : ToolWindow(QStringLiteral("Hash souboru"), QSize(456, 41), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form4"));
    platform::centreOn(*this, nullptr);
    Image1 = background();

    Edit1 = platform::makeField(this, "Edit1", {8, 10, 440, 21}, QStringLiteral("Otisk souboru"),
                                QStringLiteral("Otisk otevřeného souboru; lze jej označit a zkopírovat"));
    // A fixed-width face fits the whole fingerprint into the field.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(11);
    Edit1->setFont(font);
    platform::makeCaptionField(*Edit1);
    platform::closeOnEscape(*this);
}
