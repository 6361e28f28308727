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

// On the GUI thread with no event loop running, the bar is drawn at once; from the worker the change is
// posted and drawn by the loop that waits for the engine.
void ProgressBarPort::setPosition(int percent) {
    const int value = std::clamp(percent, 0, 100);
    if (onWidgetThread(bar_)) {
        bar_.setValue(value);
        bar_.repaint();
    } else {
        QMetaObject::invokeMethod(&bar_, [bar = &bar_, value] { bar->setValue(value); }, Qt::QueuedConnection);
    }
}

void LabelPort::setText(const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    if (onWidgetThread(label_)) {
        label_.setText(text);
        label_.repaint();
    } else {
        QMetaObject::invokeMethod(&label_, [label = &label_, text] { label->setText(text); }, Qt::QueuedConnection);
    }
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
