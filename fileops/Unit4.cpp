#include "fileops/Unit4.h"

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
    QFont font = Edit1->font();
    font.setBold(true);
    Edit1->setFont(font);
    QPalette palette = Edit1->palette();
    palette.setColor(QPalette::Text, QColor(0x00, 0x80, 0x80));
    Edit1->setPalette(palette);
}
