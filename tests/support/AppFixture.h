// A whole application, started as the program starts it, with scripted dialogs, a browser that only
// counts navigations and a recording classes root. Window tests derive from it:
//
//   class MyWindowTest : public testutil::AppFixture {};
//   TEST_F(MyWindowTest, Something) {
//       start({dir.file("a.txt")});          // command-line arguments
//       dialogs.answerNext(platform::Answer::Yes);
//       main().ToolButton4->trigger();
//   }
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
    // Creates all windows as the program does with these arguments, then shows the main window.
    void start(const QStringList& arguments = {});
    TForm1& main() const { return app->mainWindow(); }
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
