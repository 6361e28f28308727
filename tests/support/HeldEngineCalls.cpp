// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/HeldEngineCalls.h"

#include <QCoreApplication>

#include "platform/EngineCall.h"

namespace testutil {
namespace {

// Enough rounds of the waiting event loop for everything posted meanwhile (a repaint among it) to be done.
constexpr int kRounds = 20;

void onGuiThread(const std::function<void()>& work) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), work, Qt::BlockingQueuedConnection);
}

}  // namespace

HeldEngineCalls::HeldEngineCalls(Step during, Step afterRounds)
    : during_(std::move(during)), afterRounds_(std::move(afterRounds)) {
    platform::setEngineCallPauseForTesting([this] { hold(); });
}

HeldEngineCalls::~HeldEngineCalls() { platform::setEngineCallPauseForTesting({}); }

void HeldEngineCalls::hold() {
    const int call = ++calls_;
    onGuiThread([&] { during_(call); });
    for (int round = 0; round < kRounds; ++round) onGuiThread([] {});
    if (afterRounds_) onGuiThread([&] { afterRounds_(call); });
}

}  // namespace testutil
