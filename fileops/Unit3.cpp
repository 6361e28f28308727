#include "fileops/Unit3.h"

#include "platform/Style.h"

TForm3::TForm3()
    : ToolWindow(QStringLiteral("Generování klíče"), QSize(313, 97), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form3"));
    platform::centreOn(*this, nullptr);
    Image1 = background();
}
