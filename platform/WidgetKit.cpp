// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WidgetKit.h"

#include <limits>

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolBar>

#include "platform/EnterKey.h"
#include "platform/Style.h"

namespace platform {
namespace {

QIcon toolbarPicture(const char* picture) {
    return QIcon(QStringLiteral(":/toolbar/%1.png").arg(QLatin1String(picture)));
}

}  // namespace

void describe(QWidget& control, const QString& spokenName, const QString& description) {
    control.setAccessibleName(spokenName);
    control.setAccessibleDescription(description);
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect bounds, QWidget* buddy) {
    auto* label = named(new QLabel(text, parent), name);
    label->setGeometry(bounds);
    if (buddy) label->setBuddy(buddy);
    return label;
}

QLabel* makeCaptionLabel(QWidget* parent, const char* name, const QString& text, QRect bounds, QWidget* buddy) {
    QLabel* label = makeLabel(parent, name, text, bounds, buddy);
    makeCaptionLabel(*label);
    return label;
}

QLineEdit* makeField(QWidget* parent, const char* name, QRect bounds, const QString& spokenName,
                     const QString& description, Echo echo) {
    auto* field = named(new QLineEdit(parent), name);
    field->setGeometry(bounds);
    field->setMaxLength(std::numeric_limits<int>::max());
    if (echo == Echo::Password) field->setEchoMode(QLineEdit::Password);
    describe(*field, spokenName, description);
    return field;
}

QLineEdit* makeHiddenField(QWidget* parent, const char* name) {
    auto* field = named(new QLineEdit(parent), name);
    field->setMaxLength(std::numeric_limits<int>::max());
    field->hide();
    return field;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, QRect bounds,
                        const QString& description) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setGeometry(bounds);
    // The caption without its mnemonic mark, as the button shows it.
    describe(*button, QString(caption).remove(QLatin1Char('&')), description);
    return button;
}

QPushButton* makeDefaultButton(QWidget& window, QWidget* parent, const char* name, const QString& caption,
                               QRect bounds, const QString& description) {
    QPushButton* button = makeButton(parent, name, caption, bounds, description);
    button->setDefault(true);
    pressOnEnter(window, *button);
    return button;
}

QPushButton* makePictureButton(QWidget* parent, const char* name, const QString& hint, const char* picture,
                               QRect bounds) {
    auto* button = named(new QPushButton(toolbarPicture(picture), QString(), parent), name);
    button->setToolTip(hint);
    button->setIconSize(QSize(20, 20));
    button->setGeometry(bounds);
    describe(*button, hint, hint);
    return button;
}

QProgressBar* makeProgressBar(QWidget* parent, const char* name, QRect bounds, const QString& spokenName,
                              const QString& description) {
    auto* bar = named(new QProgressBar(parent), name);
    bar->setGeometry(bounds);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    describe(*bar, spokenName, description);
    return bar;
}

QAction* addToolButton(QToolBar& bar, const char* name, const QString& hint, const char* picture) {
    QAction* action = bar.addAction(toolbarPicture(picture), hint);
    action->setObjectName(QString::fromLatin1(name));
    action->setToolTip(hint);
    QWidget* button = bar.widgetForAction(action);
    button->setObjectName(QString::fromLatin1(name));
    describe(*button, hint, hint);
    return action;
}

}  // namespace platform
