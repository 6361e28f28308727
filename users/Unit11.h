// SPDX-License-Identifier: GPL-3.0-or-later
// The user manager: the list of the users in data.adb, adding and removing one, and in its status bar the
// record of who is logged in. Every change is saved at once and sends the user back to the login.
#pragma once

#include <string>
#include <vector>

#include "platform/ToolWindow.h"
#include "users/UserDatabase.h"

class QAction;
class QLineEdit;
class QTableWidget;
class QToolBar;

namespace platform {
class StatusBar;
}

class TForm11 : public platform::ToolWindow {
public:
    // `databaseFolder`: the folder data.adb lives in (users::databaseFolder).
    explicit TForm11(const std::string& databaseFolder);

    // The login gate's load: the grid becomes the header row and the users data.adb lists.
    void loadGrid();

    void ToolButton1Click();  // add a user
    void ToolButton2Click();  // remove the user of the selected row
    void zavrit();            // save the grid to data.adb

    users::UserDatabase& database() { return database_; }

    // The user rows below the header, as the save writes them.
    std::vector<users::User> gridUsers() const;
    // The logged-in user: the stored name and the user code, as the login leaves them.
    QString loggedInName() const;
    QString loggedInCode() const;
    void setLoggedIn(const QString& name, const QString& code);

    platform::Picture* Image1 = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QAction* ToolButton3 = nullptr;  // the separator before the buttons
    QAction* ToolButton1 = nullptr;
    QAction* ToolButton2 = nullptr;
    QTableWidget* sg = nullptr;
    QLineEdit* Edit1 = nullptr;
    platform::StatusBar* StatusBar1 = nullptr;

protected:
    // FormClose: saves as zavrit does; a save that fails keeps the window open.
    void closeEvent(QCloseEvent* event) override;

private:
    void setGridUsers(const std::vector<users::User>& rows);
    void appendRow(const QString& name, const QString& code);

    users::UserDatabase database_;
};
