#include "folders/Unit6.h"

#include "platform/Style.h"

TForm6::TForm6()
    : ToolWindow(QStringLiteral("Výběr složky"), QSize(265, 289), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form6"));
    platform::centreOn(*this, nullptr);
    Image1 = background();
}
