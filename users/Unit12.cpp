#include "users/Unit12.h"

#include "platform/Style.h"

TForm12::TForm12()
    : ToolWindow(QStringLiteral("Příhlášení do programu Mivex 2"), QSize(296, 81), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form12"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    platform::centreOn(*this, nullptr);
    Image1 = background();
}
