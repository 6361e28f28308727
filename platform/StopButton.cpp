// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/StopButton.h"

#include <QApplication>
#include <QPushButton>

#include "platform/EngineCall.h"
#include "platform/WidgetKit.h"

namespace platform {
namespace {

constexpr const char* kStopMark = "engineStopButton";

}  // namespace

QPushButton* makeStopButton(QWidget* parent, QRect bounds) {
    QPushButton* button = makeButton(parent, "Zrusit", QStringLiteral("&Zrušit"), bounds,
                                     QStringLiteral("Zruší běžící operaci; soubor zůstane beze změny"));
    button->setProperty(kStopMark, true);
    button->setFocusPolicy(Qt::NoFocus);  // Esc and Enter stay with the window
    button->hide();
    QObject::connect(button, &QPushButton::clicked, button, [] { requestEngineStop(); });
    return button;
}

bool isStopButton(const QObject* object) { return object && object->property(kStopMark).toBool(); }

void showStopButtons(bool shown) {
    for (QWidget* widget : QApplication::allWidgets())
        if (isStopButton(widget)) widget->setVisible(shown && widget->window()->isVisible());
}

}  // namespace platform
