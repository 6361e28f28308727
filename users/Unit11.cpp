#include "users/Unit11.h"


TForm11::TForm11()
    : ToolWindow(QStringLiteral("Manažer uživatelů"), QSize(370, 217), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form11"));
    move(0, 0);
    Image1 = background();
}
