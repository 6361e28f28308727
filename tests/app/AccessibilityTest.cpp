// SPDX-License-Identifier: GPL-3.0-or-later
// Every window as a screen reader and a keyboard user meet it, and as it looks under a dark desktop palette.
#include <cmath>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include "app/Unit1.h"
#include "platform/Jpeg.h"
#include "tests/support/AppFixture.h"

namespace {

QString spoken(QWidget* widget, QAccessible::Text what) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(what) : QString();
}

// Hidden by design (scratch fields, hidden lists) rather than waiting to be shown; the key groups appear
// when the user asks for them.
bool neverShown(const QWidget* widget) {
    for (const QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (w->isHidden() && !qobject_cast<const QGroupBox*>(w)) return true;
    return false;
}

// Parts of a drop-down box, a list or a grid that speak through their owner.
bool partOfAnotherControl(const QWidget* widget) {
    for (const QWidget* w = widget->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        if (qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractScrollArea*>(w)) return true;
    return false;
}

bool operated(const QWidget* w) {
    return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
           qobject_cast<const QProgressBar*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

bool container(const QWidget* w) {
    return qobject_cast<const QGroupBox*>(w) || qobject_cast<const QToolBar*>(w) ||
           qobject_cast<const QMenuBar*>(w) || qobject_cast<const QMenu*>(w) || qobject_cast<const QStatusBar*>(w);
}

std::vector<QWidget*> controlsOf(QWidget& window) {
    std::vector<QWidget*> controls;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->window() != &window || neverShown(w) || partOfAnotherControl(w)) continue;
        if (operated(w) || container(w)) controls.push_back(w);
    }
    return controls;
}

// The letter after "&", lower case; none for a text without a mnemonic.
QChar mnemonic(const QString& text) {
    const qsizetype mark = text.indexOf(QLatin1Char('&'));
    return mark < 0 || mark + 1 >= text.size() ? QChar() : text.at(mark + 1).toLower();
}

class Accessibility : public testutil::AppFixture {
protected:
    void SetUp() override { start(); }
};

TEST_F(Accessibility, EveryControlOfEveryWindowHasANameAndWhatItDoes) {
    for (QWidget* window : app->creationOrder()) {
        std::map<QString, int> fieldNames;
        for (QWidget* control : controlsOf(*window)) {
            const std::string where = (window->objectName() + QLatin1Char('.') + control->objectName() + QLatin1Char(' ') +
                                       QLatin1String(control->metaObject()->className()))
                                          .toStdString();
            EXPECT_FALSE(spoken(control, QAccessible::Name).trimmed().isEmpty()) << where;
            if (operated(control)) {
                EXPECT_FALSE(spoken(control, QAccessible::Description).isEmpty()) << where;
            }
            if (qobject_cast<QLineEdit*>(control)) ++fieldNames[spoken(control, QAccessible::Name)];
        }
        // Each key part is told apart from the others, not named after the group around it.
        for (const auto& [name, count] : fieldNames) EXPECT_EQ(count, 1) << window->objectName().toStdString() << ": " << name.toStdString();
    }
}

TEST_F(Accessibility, CaptionLabelsNameTheirControls) {
    for (QWidget* window : app->creationOrder())
        for (QLabel* label : window->findChildren<QLabel*>())
            if (label->objectName().startsWith(QLatin1String("Label")) && label->text() != QLatin1String("<<")) {
                EXPECT_NE(label->buddy(), nullptr)
                    << window->objectName().toStdString() << "." << label->objectName().toStdString();
            }
}

TEST_F(Accessibility, MenusAndCaptionedButtonsHaveMnemonicsThatDoNotClash) {
    // The menu bar and the main window's buttons share the window's Alt+letter keys; the two key groups
    // are never shown together.
    std::set<QChar> windowKeys;
    for (QAction* top : main().menuBar()->actions()) {
        const QChar key = mnemonic(top->text());
        EXPECT_FALSE(key.isNull()) << top->text().toStdString();
        EXPECT_TRUE(windowKeys.insert(key).second) << top->text().toStdString();
    }
    for (QGroupBox* group : {main().sifr, main().desifr}) {
        std::set<QChar> groupKeys = windowKeys;
        for (QPushButton* button : group->findChildren<QPushButton*>()) {
            const QChar key = mnemonic(button->text());
            EXPECT_FALSE(key.isNull()) << button->objectName().toStdString();
            EXPECT_TRUE(groupKeys.insert(key).second) << button->objectName().toStdString();
        }
    }
    for (QMenu* menu : main().findChildren<QMenu*>()) {
        std::set<QChar> keys;
        for (QAction* entry : menu->actions()) {
            const QChar key = mnemonic(entry->text());
            EXPECT_FALSE(key.isNull()) << entry->text().toStdString();
            EXPECT_TRUE(keys.insert(key).second) << entry->text().toStdString();
        }
    }
    for (QWidget* window : app->creationOrder())
        for (QPushButton* button : window->findChildren<QPushButton*>())
            if (!button->text().isEmpty()) {
                EXPECT_FALSE(mnemonic(button->text()).isNull())
                    << window->objectName().toStdString() << "." << button->objectName().toStdString();
            }
}

// WCAG's relative luminance and contrast ratio.
double luminance(const QColor& c) {
    auto linear = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}
double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The picture's mean colour behind `area` (in the picture's own coordinates).
QColor averageBehind(const QImage& picture, const QRect& area) {
    const QRect inside = area.intersected(picture.rect());
    double r = 0, g = 0, b = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            r += qRed(pixel), g += qGreen(pixel), b += qBlue(pixel);
        }
    const double n = static_cast<double>(std::max<qsizetype>(1, qsizetype(inside.width()) * inside.height()));
    return QColor(int(r / n), int(g / n), int(b / n));
}

QPalette darkPalette() {
    QPalette dark;
    for (const auto& [role, colour] : std::initializer_list<std::pair<QPalette::ColorRole, QColor>>{
             {QPalette::Window, QColor(0x2b, 0x2b, 0x2b)}, {QPalette::WindowText, Qt::white},
             {QPalette::Base, QColor(0x1e, 0x1e, 0x1e)}, {QPalette::Text, Qt::white},
             {QPalette::Button, QColor(0x35, 0x35, 0x35)}, {QPalette::ButtonText, Qt::white}})
        dark.setColor(role, colour);
    return dark;
}

TEST_F(Accessibility, TextsOverTheBackgroundPicturesStayReadableUnderADarkPalette) {
    // The desktop's palette is there before the windows are made, as a dark desktop theme gives it.
    app.reset();
    const QPalette before = QApplication::palette();
    QApplication::setPalette(darkPalette());
    QCoreApplication::processEvents();
    start();
    for (QWidget* window : app->creationOrder()) {
        // Picture has no meta-object of its own, so it is found by its name.
        const auto* picture = dynamic_cast<platform::Picture*>(window->findChild<QWidget*>(QStringLiteral("Image1")));
        if (!picture || picture->picture().isNull()) continue;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->window() != window || neverShown(w) || w->isHidden()) continue;
            const std::string where = (window->objectName() + QLatin1Char('.') + w->objectName()).toStdString();
            const QPoint place = w->mapTo(window, QPoint(0, 0)) - picture->mapTo(window, QPoint(0, 0));
            const QColor behind = averageBehind(picture->picture(), QRect(place, w->size()));
            const auto* group = qobject_cast<QGroupBox*>(w);
            // As drawn while the window is usable (the login gate may have disabled it).
            auto colour = [w](QPalette::ColorRole role) { return w->palette().color(QPalette::Active, role); };
            // Drawn straight onto the picture: labels (status bar panels too), group box titles, the about text.
            // Bold teal captions are large text: 3 to 1 is enough for them.
            if (qobject_cast<QLabel*>(w) || (group && !group->title().isEmpty())) {
                EXPECT_GE(contrast(colour(QPalette::WindowText), behind), 3.0) << where;
            } else if (qobject_cast<QPlainTextEdit*>(w)) {
                EXPECT_GE(contrast(colour(QPalette::Text), behind), 3.0) << where;
            } else if (qobject_cast<QLineEdit*>(w)) {  // fields draw their own background
                EXPECT_GE(contrast(colour(QPalette::Text), colour(QPalette::Base)), 4.5)
                    << where;
            }
        }
    }
    app.reset();
    QApplication::setPalette(before);
    QCoreApplication::processEvents();
}

}  // namespace
