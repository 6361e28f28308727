// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/ShowOverMain.h"

#include "app/Unit1.h"
#include "platform/Style.h"
#include "platform/ToolWindow.h"

void showOverMain(platform::ToolWindow& window, const TForm1& main) {
    if (!window.isVisible()) platform::centreOn(window, &main);
    window.showInFront();
}
