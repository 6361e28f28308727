// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a secondary window of the file operations without blocking, centred on the main window when it
// appears; one that is already visible only comes to the front.
#pragma once

class TForm1;

namespace platform {
class ToolWindow;
}

void showOverMain(platform::ToolWindow& window, const TForm1& main);
