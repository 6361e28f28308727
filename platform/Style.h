// SPDX-License-Identifier: GPL-3.0-or-later
// What the whole application looks like alike: the password character, Qt's own Czech texts, the title.
#pragma once

#include <QProxyStyle>

class QApplication;
class QLabel;
class QLineEdit;
class QWidget;

namespace platform {

// Every password field, input boxes included, shows each typed character as "|".
class PasswordBarStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// Title, desktop entry name, icon, style and Czech (platform/CzechLocale.h, whose preparation comes before the
// application): what the program and the window tests set up alike.
void setUpApplication(QApplication& app);

// The bold, teal, transparent look of the labels over a background picture.
void makeCaptionLabel(QLabel& label);

// The same bold teal for the text of a field (its own background stays the palette's).
void makeCaptionField(QLineEdit& field);

// A window drawn over one of the pale background pictures keeps the style's own light palette, whatever
// palette the desktop gives: its texts and frames stay readable on the picture.
void keepLightPalette(QWidget& window);

// Shows `window` centred over `over` (or the screen when null).
void centreOn(QWidget& window, const QWidget* over);

}  // namespace platform
