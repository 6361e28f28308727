// SPDX-License-Identifier: GPL-3.0-or-later
// The embedded web browser of the forum window, behind an interface so that the window can be tested
// without a network and without starting a web engine.
#pragma once

#include <functional>
#include <memory>

#include <QUrl>

class QWidget;

class Browser {
public:
    virtual ~Browser() = default;
    // The widget that shows the page; the window takes it as a child.
    virtual QWidget* view() = 0;
    virtual void navigate(const QUrl& address) = 0;
};

using BrowserFactory = std::function<std::unique_ptr<Browser>()>;
