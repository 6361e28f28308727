#include "fileops/Unit4.h"

#include "platform/Style.h"

TForm4::TForm4()
    : ToolWindow(QStringLiteral("Hash souboru"), QSize(456, 41), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form4"));
    platform::centreOn(*this, nullptr);
    Image1 = background();
}
