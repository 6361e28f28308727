#include "folders/Unit7.h"

#include "platform/Style.h"

TForm7::TForm7()
    : ToolWindow(QStringLiteral("Dešifrování složky"), QSize(466, 268), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form7"));
    platform::centreOn(*this, nullptr);
    Image1 = background();
}
