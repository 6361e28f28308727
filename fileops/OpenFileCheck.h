// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the main window has a file open in the state an operation needs. The key groups and the
// older-base key window stay visible while files are opened and closed, so their OK buttons ask this
// first; the answer is read from the state rules' own buttons.
#pragma once

class TForm1;

enum class NeededFile { Plain, Encrypted };

// True when it fits; otherwise an exclamation box tells the user why nothing was done.
bool openFileFits(const TForm1& window, NeededFile needed);
