// SPDX-License-Identifier: GPL-3.0-or-later
// The browser the program's forum window gets. The build picks one sibling: the embedded web engine where Qt
// has it (WebEngineBrowser.cpp), else a page that names the forum's address and opens it in the system's
// own browser (LinkBrowser.cpp).
#pragma once

#include "app/Browser.h"

std::unique_ptr<Browser> makeForumBrowser();

// What the browser needs before the application object exists (the web engine: a graphics context shared
// with the widgets and, for a program run by root, its sandbox off).
void prepareForumBrowser();
