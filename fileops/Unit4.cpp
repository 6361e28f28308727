#include "fileops/Unit4.h"

#include <QFontDatabase>
#include <QLineEdit>

#include "platform/Style.h"

TForm4::TForm4()
    : ToolWindow(QStringLiteral("Hash souboru"), QSize(456, 41), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form4"));
    platform::centreOn(*this, nullptr);
    Image1 = background();

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(8, 10, 440, 21);
    // A fixed-width face fits the whole fingerprint into the field.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(11);
    font.setBold(true);
    Edit1->setFont(font);
    QPalette palette = Edit1->palette();
    palette.setColor(QPalette::Text, QColor(0x00, 0x80, 0x80));
    Edit1->setPalette(palette);
}
