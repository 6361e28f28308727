// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "platform/Style.h"
#include "platform/ToolWindow.h"

namespace platform {
namespace {

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The confirmation hook runs when the user accepts a name, before the dialog closes.
class ConfirmingFileDialog : public QFileDialog {
public:
    ConfirmingFileDialog(const OpenFileOptions& options, const CanClose& canClose)
        : QFileDialog(QApplication::activeWindow(), options.title), canClose_(canClose) {
        setFileMode(QFileDialog::AnyFile);
        setAcceptMode(QFileDialog::AcceptOpen);
        setOption(QFileDialog::DontUseNativeDialog);
        setOption(QFileDialog::DontConfirmOverwrite);
        if (!options.filter.isEmpty()) setNameFilter(options.filter);
        if (!options.initialFileName.isEmpty()) selectFile(options.initialFileName);
    }

    void accept() override {
        const QStringList files = selectedFiles();
        if (files.isEmpty()) return;
        // A folder is opened in the dialog, not confirmed as the file.
        if (QFileInfo(files.front()).isDir() || canClose_(files.front())) QFileDialog::accept();
    }

private:
    const CanClose& canClose_;
};

// An input box stands in the middle of the screen, wherever the window that asks for it is; its size is
// final only once it is shown.
class CentreOnScreenWhenShown : public QObject {
public:
    explicit CentreOnScreenWhenShown(QWidget& box) { box.installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) centreOn(*static_cast<QWidget*>(watched), nullptr);
        return false;
    }
};

QPointer<QWidget> focusAfterBoxes;

// Later, so that a box opened right after this one (the password after the name) is not covered.
void returnFocusAfterBox() {
    QTimer::singleShot(0, qApp, [] {
        QWidget* field = focusAfterBoxes;
        if (!field || !field->isVisible() || QApplication::activeModalWidget()) return;
        showInFront(*field->window());
        field->setFocus(Qt::OtherFocusReason);
    });
}

// The login window keeps above all others while nobody is logged in, and stands in the middle of the
// screen; no box may hide behind it.
void keepAboveEverything(QWidget& box) { box.setWindowFlag(Qt::WindowStaysOnTopHint); }

// The window manager cuts a caption that is wider than its box: room for it, its icon and its buttons.
int widthForCaption(const QWidget& box, const QString& caption) {
    QFont titleFont = box.font();
    titleFont.setBold(true);
    constexpr int kTitleBarDecoration = 140;
    return QFontMetrics(titleFont).horizontalAdvance(caption) + kTitleBarDecoration;
}

// A closed box leaves its place on the screen to be drawn again; the windows below it are drawn at once,
// before the next step of the handler that asked (which may run long).
void repaintWindowsBelow(const QWidget& box) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != &box && window->isVisible()) window->repaint();
}

}  // namespace

void setFocusAfterBoxes(QWidget* field) { focusAfterBoxes = field; }

Answer QtDialogs::message(const QString& text, const QString& caption, Icon icon, Buttons buttons) {
    QMessageBox box(toQt(icon), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    const bool question = buttons != Buttons::Ok;
    if (buttons == Buttons::YesNoCancel) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (question) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(buttons == Buttons::YesNoDefaultNo ? QMessageBox::No : QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    // A message box sizes itself to its text alone; a spacer across its grid makes room for the caption.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(widthForCaption(box, caption), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    keepAboveEverything(box);
    const int answer = box.exec();
    repaintWindowsBelow(box);
    returnFocusAfterBox();
    switch (answer) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::YesNoCancel ? Answer::Cancel : question ? Answer::No : Answer::Ok;
    }
}

std::optional<QString> QtDialogs::input(const QString& caption, const QString& prompt, const QString& initial,
                                        Echo echo) {
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    box.setLabelText(prompt);
    box.setTextValue(initial);
    box.setTextEchoMode(echo == Echo::Password ? QLineEdit::Password : QLineEdit::Normal);
    if (auto* field = box.findChild<QLineEdit*>()) {
        field->setMaxLength(255);
        // The box's layout sets its size from its contents; a wider field widens the box.
        field->setMinimumWidth(widthForCaption(box, caption));
    }
    CentreOnScreenWhenShown centring(box);
    keepAboveEverything(box);
    const bool accepted = box.exec() == QDialog::Accepted;
    repaintWindowsBelow(box);
    returnFocusAfterBox();
    if (!accepted) return std::nullopt;
    return box.textValue();
}

std::optional<QString> QtDialogs::openFile(const OpenFileOptions& options, const CanClose& canClose) {
    ConfirmingFileDialog dialog(options, canClose);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    repaintWindowsBelow(dialog);
    if (!accepted) return std::nullopt;
    return dialog.selectedFiles().value(0);
}

namespace {
QtDialogs realDialogs;
Dialogs* current = &realDialogs;
}  // namespace

Dialogs& dialogs() { return *current; }

void tell(const QString& caption, const QString& text, Icon icon) {
    dialogs().message(text, caption, icon, Buttons::Ok);
}

void setDialogs(Dialogs* replacement) { current = replacement ? replacement : &realDialogs; }

}  // namespace platform
