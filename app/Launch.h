// SPDX-License-Identifier: GPL-3.0-or-later
// What start-up hands the main window: the command line, the program file, where the association goes.
#pragma once

#include <QStringList>

namespace platform {
class ClassesRoot;
}

struct LaunchContext {
    QStringList arguments;                            // the arguments after the program's own name
    QString programPath;                              // the program file's full path
    platform::ClassesRoot* classesRoot = nullptr;     // not owned; null: no association is written
};
