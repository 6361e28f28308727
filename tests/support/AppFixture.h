// SPDX-License-Identifier: GPL-3.0-or-later
// A whole application, started as the program starts it, with scripted dialogs, a browser that only
// counts navigations and a recording classes root. Window tests derive from it:
//
//   class MyWindowTest : public testutil::AppFixture {};
//   TEST_F(MyWindowTest, Something) {
//       start({dir.file("a.txt")});          // command-line arguments; the login window comes up
//       logIn();                             // a stored user logs in through the login window
//       dialogs.answerNext(platform::Answer::Yes);
//       main().ToolButton4->trigger();
//   }
// The program file of the run lies in the test folder, so data.adb beside it is the test's own.
#pragma once

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QUrl>

#include "app/Browser.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "platform/ShellAssociation.h"
#include "tests/engine/TempDir.h"
#include "tests/support/ScriptedDialogs.h"

namespace testutil {

// Records the rows instead of writing them anywhere.
class RecordingClassesRoot : public platform::ClassesRoot {
public:
    bool setDefaultValue(const QString& key, const QString& data) override {
        rows.push_back({key, data});
        return true;
    }
    void finish() override { ++finished; }

    std::vector<platform::ClassesRootRow> rows;
    int finished = 0;
};

// A browser that loads nothing and remembers where it was sent.
class CountingBrowser : public Browser {
public:
    explicit CountingBrowser(std::vector<QUrl>& visits);
    QWidget* view() override { return view_; }
    void navigate(const QUrl& address) override { visits_.push_back(address); }

private:
    QWidget* view_;  // owned by the window that shows it
    std::vector<QUrl>& visits_;
};

class AppFixture : public ::testing::Test {
protected:
    // Creates all windows as the program does with these arguments, then shows the main window, which
    // runs the login gate.
    void start(const QStringList& arguments = {});
    TForm1& main() const { return app->mainWindow(); }
    // The program file the run is started as (it need not exist): dir/mivex2.
    QString programPath() const { return QString::fromStdString(dir.file("mivex2")); }
    std::string databasePath() const { return dir.file("data.adb"); }
    // Stores a user in data.adb directly, as the user manager would have.
    void storeUser(const QString& name, const QString& password);
    // Types the name and password into the login window and presses its login button.
    void typeLogin(const QString& name, const QString& password);
    // Stores the user when it is not stored yet and logs in as that user; the main window is then usable.
    void logIn(const QString& name = QStringLiteral("Tester"), const QString& password = QStringLiteral("heslo"));
    // Writes `size` bytes of `name` in the test folder and returns its path.
    QString makeFile(const std::string& name, std::size_t size) const;
    void TearDown() override { app.reset(); }

    TempDir dir;
    ScriptedDialogs dialogs;
    RecordingClassesRoot classesRoot;
    std::vector<QUrl> navigations;
    std::unique_ptr<Startup> app;
};

}  // namespace testutil
