#include "platform/WindowEnabling.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace platform {
namespace {

constexpr const char* kOffBeforeDisabling = "mivexOffBeforeDisabling";

}  // namespace

void setWindowEnabled(QWidget& window, bool enabled) {
    const QList<QMenu*> menus = window.findChildren<QMenu*>();
    if (!enabled && window.isEnabled())
        for (QMenu* menu : menus) menu->menuAction()->setProperty(kOffBeforeDisabling, !menu->menuAction()->isEnabled());
    window.setEnabled(enabled);
    if (!enabled) return;
    for (QMenu* menu : menus) {
        QAction* entry = menu->menuAction();
        if (entry->property(kOffBeforeDisabling).toBool()) entry->setEnabled(false);
        entry->setProperty(kOffBeforeDisabling, QVariant());
    }
}

}  // namespace platform
