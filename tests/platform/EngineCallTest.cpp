// SPDX-License-Identifier: GPL-3.0-or-later
// The one way into the engine: off the GUI thread, with the windows alive and the user's input dropped.
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include "engine/Ports.h"
#include "platform/EngineCall.h"
#include "platform/QtPorts.h"
#include "tests/support/HeldEngineCalls.h"

namespace {

using testutil::HeldEngineCalls;

bool onGuiThread() { return QThread::currentThread() == qApp->thread(); }

TEST(EngineCall, RunsOffTheGuiThreadAndHandsBackTheResultOrTheError) {
    bool guiThread = true;
    EXPECT_EQ(platform::callEngine([&] {
                  guiThread = onGuiThread();
                  return 42;
              }),
              42);
    EXPECT_FALSE(guiThread);
    EXPECT_THROW(platform::callEngine([] { throw engine::Error("Soubor nelze číst"); }), engine::Error);
    // Off the GUI thread it is a plain call.
    std::thread([&] { platform::callEngine([&] { guiThread = onGuiThread(); }); }).join();
    EXPECT_FALSE(guiThread);
}

TEST(EngineCall, ClicksAndKeysDuringTheCallAreDroppedNotReplayed) {
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("OK"), &window);
    auto* field = new QLineEdit(&window);
    window.show();
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    {
        HeldEngineCalls held([&](int) {
            QTest::mouseClick(button, Qt::LeftButton);
            QTest::keyClicks(field, "abc");
            QTest::keyClick(button, Qt::Key_Space);
        });
        platform::callEngine([] {});
        EXPECT_EQ(held.calls(), 1);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(field->text(), QString());
    // Afterwards the same input works.
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClicks(field, "abc");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(field->text(), QStringLiteral("abc"));
}

TEST(EngineCall, WindowsRepaintAndShowProgressWhileTheCallRuns) {
    QWidget window;
    auto* bar = new QProgressBar(&window);
    bar->setRange(0, 100);
    bar->setValue(0);
    window.show();
    testutil::PaintCounter paints(*bar);
    int shownDuringCall = -1;
    int paintsDuringCall = 0;
    HeldEngineCalls held([&](int) { window.update(); },
                         [&](int) {
                             shownDuringCall = bar->value();
                             paintsDuringCall = paints.count();
                         });
    platform::ProgressBarPort port(*bar);
    platform::callEngine([&] { port.setPosition(60); });
    // The hold comes before the call: the bar still shows 0, but the window was drawn meanwhile.
    EXPECT_EQ(shownDuringCall, 0);
    EXPECT_GT(paintsDuringCall, 0);
    EXPECT_EQ(bar->value(), 60) << "everything the call posted arrives before it returns";
}

TEST(EngineCall, FieldsWrittenAndReadFromTheWorkerChangeOnTheGuiThread) {
    QLineEdit field;
    bool handlerOnGuiThread = false;
    QObject::connect(&field, &QLineEdit::textChanged, [&] { handlerOnGuiThread = onGuiThread(); });
    platform::LineEditField port(field);
    const std::string readBack = platform::callEngine([&] {
        port.setText("žluťoučký");
        return port.text();
    });
    EXPECT_TRUE(handlerOnGuiThread);
    EXPECT_EQ(readBack, "žluťoučký");
    EXPECT_EQ(field.text(), QStringLiteral("žluťoučký"));
}

}  // namespace
