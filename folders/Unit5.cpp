#include "folders/Unit5.h"

#include "platform/Style.h"

TForm5::TForm5()
    : ToolWindow(QStringLiteral("Šifrování složky"), QSize(466, 268), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form5"));
    platform::centreOn(*this, nullptr);
    Image1 = background();
}
