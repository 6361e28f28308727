// SPDX-License-Identifier: GPL-3.0-or-later
// The program's entry: the application, its title, its windows, the message loop.
#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/ForumBrowser.h"
#include "platform/CzechLocale.h"
#include "platform/GuardedApplication.h"
#include "platform/ProcessHardening.h"
#include "platform/ShellAssociation.h"
#include "platform/Style.h"

int main(int argc, char* argv[]) {
    // First of all: no key or password typed later may end up in a core file.
    platform::keepProcessMemoryPrivate();
    prepareForumBrowser();
    platform::prepareCzechSystemLocale();
    platform::GuardedApplication app(argc, argv);
    platform::setUpApplication(app);

    const auto classesRoot = platform::systemClassesRoot();
    LaunchContext launch;
    launch.arguments = QApplication::arguments().mid(1);
    launch.programPath = QApplication::applicationFilePath();
    launch.classesRoot = classesRoot.get();

    Startup windows(launch, makeForumBrowser);
    windows.mainWindow().show();
    return QApplication::exec();
}
