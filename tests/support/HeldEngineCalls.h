// SPDX-License-Identifier: GPL-3.0-or-later
// A long engine call, made at will: while it lives, every engine call is held on its worker thread while
// the test acts on the GUI thread, where the handler that made the call waits in its local event loop.
//
//   HeldEngineCalls held([&](int call) { if (call == 3) QTest::mouseClick(...); },   // during call 3
//                        [&](int call) { ... });  // after the event loop went round a few times more
//   click(main().BitBtn1);
//
// Calls are counted from 1. Both functions run on the GUI thread, before the engine's own work begins.
#pragma once

#include <atomic>
#include <functional>

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace testutil {

class HeldEngineCalls {
public:
    using Step = std::function<void(int call)>;
    explicit HeldEngineCalls(Step during, Step afterRounds = {});
    ~HeldEngineCalls();
    HeldEngineCalls(const HeldEngineCalls&) = delete;
    HeldEngineCalls& operator=(const HeldEngineCalls&) = delete;

    int calls() const { return calls_; }

private:
    void hold();
    Step during_;
    Step afterRounds_;
    std::atomic<int> calls_{0};
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count() const { return count_; }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count_;
        return false;
    }

private:
    int count_ = 0;
};

}  // namespace testutil
