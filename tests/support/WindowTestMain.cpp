// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every window test program: a private, empty desktop (no display, a fresh runtime and data
// folder, so nothing is written into the real home), the cheap test KDF, then the application as the
// program sets it up.
#include <cstdlib>

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "engine/core/TestHooks.h"
#include "platform/CzechLocale.h"
#include "platform/GuardedApplication.h"
#include "platform/Style.h"

int main(int argc, char* argv[]) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir desktop;
    if (!desktop.isValid()) return 2;
    const QString runtime = desktop.filePath(QStringLiteral("run"));
    const QString data = desktop.filePath(QStringLiteral("share"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir().mkpath(data);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    qputenv("XDG_DATA_HOME", data.toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    engine::core::setScryptCostForTesting(10);
    // A session that is not Czech, which the program must not follow.
    qputenv("LC_ALL", "C.UTF-8");
    platform::prepareCzechSystemLocale();
    platform::GuardedApplication app(argc, argv);
    platform::setUpApplication(app);
    return RUN_ALL_TESTS();
}
