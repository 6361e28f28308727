// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Style.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>

#include "platform/CzechLocale.h"
#include "platform/ErrorReport.h"
#include "platform/Installation.h"
#include "platform/OnScreen.h"

namespace platform {
namespace {

// The application icon in every size it is drawn in.
QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/mivex2-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace

int PasswordBarStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                QStyleHintReturn* returnData) const {
    if (hint == SH_LineEdit_PasswordCharacter) return '|';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    // The window system matches the windows to the installed desktop entry and shows the program's icon.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(installation::kDesktopId));
    QApplication::setWindowIcon(applicationIcon());
    QApplication::setStyle(new PasswordBarStyle);
    speakCzech(app);
    keepWindowsOnScreen(app);
}

namespace {

const QColor kTeal(0x00, 0x80, 0x80);

void makeBoldIn(QWidget& widget, QPalette::ColorRole role) {
    QFont font = widget.font();
    font.setBold(true);
    widget.setFont(font);
    QPalette palette = widget.palette();
    palette.setColor(role, kTeal);
    widget.setPalette(palette);
}

}  // namespace

void makeCaptionLabel(QLabel& label) {
    makeBoldIn(label, QPalette::WindowText);
    label.setAutoFillBackground(false);
    label.setAttribute(Qt::WA_TranslucentBackground);
}

void makeCaptionField(QLineEdit& field) { makeBoldIn(field, QPalette::Text); }

// Every colour set one by one, so that each counts as the window's own and none follows the desktop's.
void keepLightPalette(QWidget& window) {
    const QPalette light = window.style()->standardPalette();
    QPalette own;
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = static_cast<QPalette::ColorGroup>(group);
            const auto r = static_cast<QPalette::ColorRole>(role);
            own.setBrush(g, r, light.brush(g, r));
        }
    window.setPalette(own);
}

void centreOn(QWidget& window, const QWidget* over) {
    const QRect area = over ? over->frameGeometry() : window.screen()->availableGeometry();
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

}  // namespace platform
