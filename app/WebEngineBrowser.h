// The forum page in a Qt WebEngine view. The engine is started on the first navigation, not at start-up.
#pragma once

#include "app/Browser.h"

std::unique_ptr<Browser> makeWebEngineBrowser();

// What the web engine needs before the application object exists: a graphics context shared with the
// widgets, and, for a program run by root, its sandbox off (the engine refuses to start sandboxed as root
// and would end the whole program when the forum window opens).
void prepareWebEngine();
