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
}

Startup::~Startup() {
    forms() = Forms{};
    for (auto window = order_.rbegin(); window != order_.rend(); ++window) delete *window;
}

TForm1& Startup::mainWindow() const { return *forms().Form1; }
