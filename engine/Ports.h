// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's view of the calling window: small interfaces instead of Qt types,
// so that the libraries build and test without any user interface.
#pragma once

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace engine {

// Every engine failure. The text is a short Czech message for the user.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The caller asked the work to stop, and it stopped before its result replaced anything: what it had written
// is gone, as after any other Error.
class Cancelled : public Error {
public:
    using Error::Error;
};

// Lends the caller's stop request to the engine calls made on this thread while the scope lives. The engine
// reads it at each chunk of its work and around each key derivation, and then throws Cancelled; past the
// point where the result replaces the original it no longer looks, so the work completes.
class CancelScope {
public:
    explicit CancelScope(const std::atomic<bool>& requested) : outer_(current_) { current_ = &requested; }
    ~CancelScope() { current_ = outer_; }
    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;
    static bool requested() { return current_ && current_->load(std::memory_order_relaxed); }
    // Whether anyone could ask this thread's work to stop at all.
    static bool lent() { return current_ != nullptr; }

private:
    static inline thread_local const std::atomic<bool>* current_ = nullptr;
    const std::atomic<bool>* outer_;
};

// A single-line text field; setText runs the field's change handling as typing would.
class TextField {
public:
    virtual ~TextField() = default;
    virtual void setText(const std::string& utf8) = 0;
    virtual std::string text() const = 0;
};

// A progress bar with the range 0..100; the adapter repaints at once. A window that also shows what the work
// does and how long it may take yet takes the step and the bytes too; a plain bar ignores them.
class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void setPosition(int percent) = 0;
    // A step of the work begins ("Šifruji…"); the bytes reported after it are the step's own.
    virtual void beginStep(const std::string& utf8) { (void)utf8; }
    // `done` of the step's `total` bytes, reported with each new position.
    virtual void bytesDone(std::uint64_t done, std::uint64_t total) {
        (void)done;
        (void)total;
    }
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
    // The whole tree instead of the listed names: every visible plain file and folder below folder(), at
    // any depth (links, devices, sockets, FIFOs and hidden entries stay out, as in the list).
    virtual bool wholeTree() const { return false; }
};

// What a library may ask of the calling window.
class Window {
public:
    virtual ~Window() = default;
    virtual void repaint() = 0;
};

}  // namespace engine
