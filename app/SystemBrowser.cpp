// SPDX-License-Identifier: GPL-3.0-or-later
// The forum in the system's own browser, for builds that have no embedded web engine.
#include <QDesktopServices>

#include "app/ForumBrowser.h"
#include "app/LinkBrowser.h"

std::unique_ptr<Browser> makeForumBrowser() {
    return std::make_unique<LinkBrowser>([](const QUrl& link) { QDesktopServices::openUrl(link); });
}

void prepareForumBrowser() {}
