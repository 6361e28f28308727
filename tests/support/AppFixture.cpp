#include "tests/support/AppFixture.h"

#include <QApplication>
#include <QWidget>

namespace testutil {

CountingBrowser::CountingBrowser(std::vector<QUrl>& visits) : view_(new QWidget), visits_(visits) {}

void AppFixture::start(const QStringList& arguments) {
    LaunchContext launch;
    launch.arguments = arguments;
    launch.programPath = QApplication::applicationFilePath();
    launch.classesRoot = &classesRoot;
    app = std::make_unique<Startup>(launch, [this] { return std::make_unique<CountingBrowser>(navigations); });
    main().show();
}

QString AppFixture::makeFile(const std::string& name, std::size_t size) const {
    writeFile(dir.file(name), randomBytes(size, 7));
    return QString::fromStdString(dir.file(name));
}

}  // namespace testutil
