// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's ports over Qt widgets: each adapter holds its widget and does what the engine expects of it.
// The engine calls them on the GUI thread or on the worker thread of platform/EngineCall.h; from the worker,
// fields and lists are read and written on the GUI thread while the worker waits, and progress is posted.
#pragma once

#include <QString>

#include "engine/Ports.h"
#include "platform/TimeLeft.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QWidget;

namespace platform {

class FileListBox;

// Setting the text emits textChanged, so the window's change handler runs as typing would.
class LineEditField : public engine::TextField {
public:
    explicit LineEditField(QLineEdit& field) : field_(field) {}
    void setText(const std::string& utf8) override;
    std::string text() const override;

private:
    QLineEdit& field_;
};

// Drawn at once when called on the GUI thread (no event loop runs there during a plain call); posted otherwise.
class ProgressBarPort : public engine::ProgressBar {
public:
    explicit ProgressBarPort(QProgressBar& bar) : bar_(bar) {}
    void setPosition(int percent) override;

private:
    QProgressBar& bar_;
};

// The bar, and a label that shows the step the engine reports and, once the step has run a while, the time it
// may take yet: "Šifruji… (zbývá asi 12 s)". Both are kept and drawn on the GUI thread.
class StepProgressPort : public ProgressBarPort {
public:
    StepProgressPort(QProgressBar& bar, QLabel& label) : ProgressBarPort(bar), label_(label) {}
    void beginStep(const std::string& utf8) override;
    void bytesDone(std::uint64_t done, std::uint64_t total) override;
    // On the GUI thread once an engine call has ended: the label shows what it showed before the call's
    // first step, and the next call's steps start afresh.
    void endSteps();

private:
    void show();
    QLabel& label_;
    QString step_;       // GUI thread only, as the rest
    QString before_;
    TimeLeft timeLeft_;
};

class LabelPort : public engine::Label {
public:
    explicit LabelPort(QLabel& label) : label_(label) {}
    void setText(const std::string& utf8) override;

private:
    QLabel& label_;
};

class WindowPort : public engine::Window {
public:
    explicit WindowPort(QWidget& window) : window_(window) {}
    void repaint() override;

private:
    QWidget& window_;
};

class FileListPort : public engine::FileList {
public:
    explicit FileListPort(const FileListBox& list, bool wholeTree = false) : list_(list), wholeTree_(wholeTree) {}
    std::string folder() const override;
    std::vector<std::string> fileNames() const override;
    bool wholeTree() const override { return wholeTree_; }

private:
    const FileListBox& list_;
    bool wholeTree_;
};

}  // namespace platform
