// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtPorts.h"

#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QThread>

#include "platform/FileListBox.h"

namespace platform {
namespace {

bool onWidgetThread(const QObject& widget) { return QThread::currentThread() == widget.thread(); }

// From the engine's worker thread: what the engine reads or writes through a field or a list happens on the
// GUI thread while the worker waits, so the field's change handler runs there and the engine reads the
// text it just wrote.
template <class Work>
void onGuiThreadAndWait(const QObject& widget, Work&& work) {
    if (onWidgetThread(widget))
        work();
    else  // the widget is only the call's context here, and is not changed through it
        QMetaObject::invokeMethod(const_cast<QObject*>(&widget), std::forward<Work>(work), Qt::BlockingQueuedConnection);
}

// On the GUI thread with no event loop running, the change is drawn at once; from the worker it is posted
// and drawn by the loop that waits for the engine. `change` must hold copies, not references.
template <class Change>
void showChange(QWidget& widget, Change change) {
    if (onWidgetThread(widget)) {
        change();
        widget.repaint();
    } else {
        QMetaObject::invokeMethod(&widget, std::move(change), Qt::QueuedConnection);
    }
}

}  // namespace

void LineEditField::setText(const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    onGuiThreadAndWait(field_, [&] { field_.setText(text); });
}

std::string LineEditField::text() const {
    std::string text;
    onGuiThreadAndWait(field_, [&] { text = field_.text().toStdString(); });
    return text;
}

void ProgressBarPort::setPosition(int percent) {
    const int value = std::clamp(percent, 0, 100);
    showChange(bar_, [bar = &bar_, value] { bar->setValue(value); });
}

void StepProgressPort::beginStep(const std::string& utf8) {
    showChange(label_, [this, step = QString::fromStdString(utf8)] {
        if (step_.isEmpty()) before_ = label_.text();
        step_ = step;
        timeLeft_.restart(TimeLeft::Clock::now());
        show();
    });
}

void StepProgressPort::bytesDone(std::uint64_t done, std::uint64_t total) {
    showChange(label_, [this, done, total] {
        timeLeft_.record(done, total, TimeLeft::Clock::now());
        show();
    });
}

void StepProgressPort::endSteps() {
    if (step_.isEmpty()) return;
    label_.setText(before_);
    step_.clear();
}

void StepProgressPort::show() {
    if (step_.isEmpty()) return;  // the caller's text stays until the engine names a step
    const QString left = QString::fromStdString(timeLeft_.text());
    label_.setText(left.isEmpty() ? step_ : step_ + QStringLiteral(" (") + left + QLatin1Char(')'));
}

void LabelPort::setText(const std::string& utf8) {
    showChange(label_, [label = &label_, text = QString::fromStdString(utf8)] { label->setText(text); });
}

void WindowPort::repaint() {
    if (onWidgetThread(window_))
        window_.repaint();
    else
        QMetaObject::invokeMethod(&window_, [window = &window_] { window->update(); }, Qt::QueuedConnection);
}

std::string FileListPort::folder() const {
    std::string folder;
    onGuiThreadAndWait(list_, [&] { folder = list_.directory().toStdString(); });
    return folder;
}

std::vector<std::string> FileListPort::fileNames() const {
    std::vector<std::string> names;
    onGuiThreadAndWait(list_, [&] {
        for (const QString& name : list_.fileNames()) names.push_back(name.toStdString());
    });
    return names;
}

}  // namespace platform
