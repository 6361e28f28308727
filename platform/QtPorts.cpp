#include "platform/QtPorts.h"

#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "platform/FileListBox.h"

namespace platform {

void LineEditField::setText(const std::string& utf8) { field_.setText(QString::fromStdString(utf8)); }

std::string LineEditField::text() const { return field_.text().toStdString(); }

void ProgressBarPort::setPosition(int percent) {
    bar_.setValue(std::clamp(percent, 0, 100));
    bar_.repaint();
}

void LabelPort::setText(const std::string& utf8) {
    label_.setText(QString::fromStdString(utf8));
    label_.repaint();
}

void WindowPort::repaint() { window_.repaint(); }

std::string FileListPort::folder() const { return list_.directory().toStdString(); }

std::vector<std::string> FileListPort::fileNames() const {
    std::vector<std::string> names;
    for (const QString& name : list_.fileNames()) names.push_back(name.toStdString());
    return names;
}

}  // namespace platform
