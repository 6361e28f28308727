// SPDX-License-Identifier: GPL-3.0-or-later
// The start of a run: the eleven windows, created once in a fixed order with the main window first,
// and destroyed together at the end. The program and the window tests start the same way.
#pragma once

#include <memory>
#include <vector>

#include "app/Browser.h"
#include "app/Forms.h"
#include "app/Launch.h"

class QWidget;

class Startup {
public:
    Startup(const LaunchContext& launch, const BrowserFactory& browsers);
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    TForm1& mainWindow() const;
    // The windows in the order they were created.
    const std::vector<QWidget*>& creationOrder() const { return order_; }

private:
    std::vector<QWidget*> order_;
};
