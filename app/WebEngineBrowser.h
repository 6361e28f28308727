// The forum page in a Qt WebEngine view. The engine is started on the first navigation, not at start-up.
#pragma once

#include "app/Browser.h"

std::unique_ptr<Browser> makeWebEngineBrowser();
