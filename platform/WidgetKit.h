// SPDX-License-Identifier: GPL-3.0-or-later
// How every window makes its controls, in one place: each gets its object name (which tests and a widget
// inspector find it by), its place, and what a screen reader says of it (an accessible name and description).
// Captions of buttons carry their mnemonic ("&OK"); a label that names a control has that control as buddy.
#pragma once

#include <QAction>
#include <QRect>
#include <QString>

#include "platform/Echo.h"
#include "platform/ErrorReport.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolBar;
class QWidget;

namespace platform {

// The object name, and the name and description a screen reader gives.
template <class Widget>
Widget* named(Widget* widget, const char* objectName) {
    widget->setObjectName(QString::fromLatin1(objectName));
    return widget;
}
void describe(QWidget& control, const QString& spokenName, const QString& description);

// A label; `buddy` is the control it names, if any.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect bounds, QWidget* buddy = nullptr);
// A label in the bold teal look of the captions over the background pictures.
QLabel* makeCaptionLabel(QWidget* parent, const char* name, const QString& text, QRect bounds,
                         QWidget* buddy = nullptr);

// A single-line text field without a length limit (password: each character shown as "|").
QLineEdit* makeField(QWidget* parent, const char* name, QRect bounds, const QString& spokenName,
                     const QString& description, Echo echo = Echo::Clear);
// A hidden field the engine writes into; no user ever sees it.
QLineEdit* makeHiddenField(QWidget* parent, const char* name);

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect bounds,
                        const QString& description);
// The window's default button: drawn as such, and Enter anywhere in `window` presses it while it is
// visible and enabled (a window may have several, of which only one is visible at a time).
QPushButton* makeDefaultButton(QWidget& window, QWidget* parent, const char* name, const QString& caption,
                               QRect bounds, const QString& description);
// A button that shows one of the toolbar pictures instead of a caption; its hint names it.
QPushButton* makePictureButton(QWidget* parent, const char* name, const QString& hint, const char* picture,
                               QRect bounds);

// A progress bar 0..100 at 0, without a percentage text.
QProgressBar* makeProgressBar(QWidget* parent, const char* name, QRect bounds, const QString& spokenName,
                              const QString& description);

// A toolbar button with one of the toolbar pictures; its hint is its tooltip and its spoken name. The action
// and its button both carry the object name.
QAction* addToolButton(QToolBar& bar, const char* name, const QString& hint, const char* picture);
template <class Window, class Base>
QAction* addToolButton(QToolBar& bar, Window* window, const char* name, const QString& hint, const char* picture,
                       void (Base::*handler)()) {
    QAction* action = addToolButton(bar, name, hint, picture);
    QObject::connect(action, &QAction::triggered, window, guarded(window, handler));
    return action;
}

}  // namespace platform
