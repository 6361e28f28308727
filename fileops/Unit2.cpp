#include "fileops/Unit2.h"

#include "platform/Style.h"

TForm2::TForm2()
    : ToolWindow(QStringLiteral("Klíč pro dešifrování"), QSize(281, 57), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form2"));
    platform::centreOn(*this, nullptr);
    Image1 = background();
}
