// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowEnabling.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace platform {
namespace {

constexpr const char* kOffBeforeDisabling = "mivexOffBeforeDisabling";
constexpr const char* kFollower = "mivexMenuFollower";

// While the window is disabled its own code may still switch submenu entries (another window can change
// its state); those changes, not the state at disabling, are what enabling gives back.
void followExplicitChanges(QWidget& window, const QList<QMenu*>& menus) {
    auto* follower = new QObject(&window);
    follower->setObjectName(QString::fromLatin1(kFollower));
    for (QMenu* menu : menus) {
        QAction* entry = menu->menuAction();
        QObject::connect(entry, &QAction::enabledChanged, follower,
                         [entry](bool on) { entry->setProperty(kOffBeforeDisabling, !on); });
    }
}

void stopFollowing(QWidget& window) {
    delete window.findChild<QObject*>(QString::fromLatin1(kFollower), Qt::FindDirectChildrenOnly);
}

}  // namespace

void setWindowEnabled(QWidget& window, bool enabled) {
    const QList<QMenu*> menus = window.findChildren<QMenu*>();
    if (!enabled) {
        if (!window.isEnabled()) return;
        for (QMenu* menu : menus) menu->menuAction()->setProperty(kOffBeforeDisabling, !menu->menuAction()->isEnabled());
        window.setEnabled(false);
        followExplicitChanges(window, menus);
        return;
    }
    stopFollowing(window);
    window.setEnabled(true);
    for (QMenu* menu : menus) {
        QAction* entry = menu->menuAction();
        if (entry->property(kOffBeforeDisabling).toBool()) entry->setEnabled(false);
        entry->setProperty(kOffBeforeDisabling, QVariant());
    }
}

}  // namespace platform
