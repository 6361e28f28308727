// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's view of the calling window: small interfaces instead of Qt types,
// so that the libraries build and test without any user interface.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace engine {

// Every engine failure. The text is a short Czech message for the user.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A single-line text field; setText runs the field's change handling as typing would.
class TextField {
public:
    virtual ~TextField() = default;
    virtual void setText(const std::string& utf8) = 0;
    virtual std::string text() const = 0;
};

// A progress bar with the range 0..100; the adapter repaints at once.
class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void setPosition(int percent) = 0;
};

class Label {
public:
    virtual ~Label() = default;
    virtual void setText(const std::string& utf8) = 0;
};

// The hidden file list of a folder window: the folder it shows and its bare file names.
class FileList {
public:
    virtual ~FileList() = default;
    virtual std::string folder() const = 0;
    virtual std::vector<std::string> fileNames() const = 0;
};

// What a library may ask of the calling window.
class Window {
public:
    virtual ~Window() = default;
    virtual void repaint() = 0;
};

}  // namespace engine
