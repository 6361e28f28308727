// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include <QFileInfo>

#include "app/Unit1.h"
#include "app/Unit10.h"
#include "app/Unit9.h"
#include "fileops/Unit2.h"
#include "fileops/Unit3.h"
#include "fileops/Unit4.h"
#include "folders/Unit5.h"
#include "folders/Unit6.h"
#include "folders/Unit7.h"
#include "users/DatabaseFolder.h"
#include "users/Unit11.h"
#include "users/Unit12.h"

namespace {

template <class Window, class... Args>
Window* create(std::vector<QWidget*>& order, Window*& slot, Args&&... args) {
    slot = new Window(std::forward<Args>(args)...);
    order.push_back(slot);
    return slot;
}

}  // namespace

Startup::Startup(const LaunchContext& launch, const BrowserFactory& browsers) {
    Forms& f = forms();
    create(order_, f.Form1, launch);
    create(order_, f.Form2);
    create(order_, f.Form3);
    create(order_, f.Form4);
    create(order_, f.Form5);
    create(order_, f.Form6);
    create(order_, f.Form7);
    create(order_, f.Form9, browsers());
    create(order_, f.Form10);
    create(order_, f.Form11, users::databaseFolder(QFileInfo(launch.programPath).absolutePath().toStdString()));
    create(order_, f.Form12);
    // The tool windows belong to the main window: they stay above it and are never lost behind it. The user
    // manager and the login window stay free, as they work while the login gate disables the main window.
    for (platform::ToolWindow* tool : std::initializer_list<platform::ToolWindow*>{
             f.Form2, f.Form3, f.Form4, f.Form5, f.Form6, f.Form7, f.Form9, f.Form10})
        tool->belongTo(*f.Form1);
}

Startup::~Startup() {
    forms() = Forms{};
    for (auto window = order_.rbegin(); window != order_.rend(); ++window) delete *window;
}

TForm1& Startup::mainWindow() const { return *forms().Form1; }
