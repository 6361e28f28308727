// SPDX-License-Identifier: GPL-3.0-or-later
// A forum "browser" for a build without an embedded web engine: a page in the window that names the forum's
// address as a link, which the system's own browser opens. Whether the host can be reached is then that
// browser's business, as it would be for any link.
#pragma once

#include <functional>

#include "app/Browser.h"

class QTextBrowser;

class LinkBrowser : public Browser {
public:
    using Opener = std::function<void(const QUrl&)>;
    explicit LinkBrowser(Opener open);

    QWidget* view() override;
    void navigate(const QUrl& address) override;

private:
    QTextBrowser* page_;  // owned by the window that shows it
    Opener open_;
};
