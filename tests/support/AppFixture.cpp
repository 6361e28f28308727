// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/AppFixture.h"

#include <algorithm>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "engine/Roster.h"
#include "platform/QtPorts.h"
#include "users/Unit12.h"
#include "users/UserCodeText.h"
#include "users/UserDatabase.h"

namespace testutil {

CountingBrowser::CountingBrowser(std::vector<QUrl>& visits) : view_(new QWidget), visits_(visits) {}

void AppFixture::start(const QStringList& arguments) {
    LaunchContext launch;
    launch.arguments = arguments;
    launch.programPath = programPath();
    launch.classesRoot = &classesRoot;
    app = std::make_unique<Startup>(launch, [this] { return std::make_unique<CountingBrowser>(navigations); });
    main().show();
}

void AppFixture::storeUser(const QString& name, const QString& password) {
    QLineEdit codeEdit;
    platform::LineEditField code(codeEdit);
    Roster::strtohex(users::userCodeText(name, password).utf8(), code);
    users::UserDatabase database(dir.path());
    std::vector<users::User> rows = database.load();
    rows.push_back({name.toStdString(), code.text()});
    database.save(rows);
}

void AppFixture::typeLogin(const QString& name, const QString& password) {
    TForm12& login = *forms().Form12;
    login.Edit1->setText(name);
    login.Edit2->setText(password);
    QTest::mouseClick(login.BitBtn1, Qt::LeftButton);
}

void AppFixture::logIn(const QString& name, const QString& password) {
    const std::vector<users::User> stored = users::UserDatabase(dir.path()).load();
    if (std::none_of(stored.begin(), stored.end(), [&](const users::User& u) { return u.name == name.toStdString(); }))
        storeUser(name, password);
    typeLogin(name, password);
    ASSERT_TRUE(main().isEnabled()) << "the login failed";
}

QString AppFixture::makeFile(const std::string& name, std::size_t size) const {
    writeFile(dir.file(name), randomBytes(size, 7));
    return QString::fromStdString(dir.file(name));
}

}  // namespace testutil
