// SPDX-License-Identifier: GPL-3.0-or-later
// The login window: name and password checked against data.adb through their user code. It stays above
// all other windows while the main window is disabled, and closing it ends the program.
#pragma once

#include "platform/ToolWindow.h"
#include "users/WindowsPutAway.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm12 : public platform::ToolWindow {
public:
    TForm12();

    void BitBtn1Click();  // log in; Enter in Edit2 does the same
    void BitBtn2Click();  // show the user manager

    // The login gate's last step: the login window in front, every other window but the main window
    // (disabled by the gate) and the user manager put away until the next login.
    void showForLogin();

    platform::Picture* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    // Shown while data.adb holds nobody: how the first user is made.
    QLabel* firstUserHint = nullptr;

protected:
    // FormClose: ends the program at once, whatever else is open.
    void closeEvent(QCloseEvent* event) override;
    // While it is shown, boxes hand the keyboard back to the name field.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    // The login window cannot be minimised: nothing else would bring it back.
    void changeEvent(QEvent* event) override;
    // The main window, activated or restored while it waits for the login, passes the keyboard on here.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void takeKeyboard();
    // Where the keyboard belongs: the name field, or the user-manager button while there is nobody to log in.
    QWidget* firstControl() const;
    bool nobodyToLogIn() const;

    users::WindowsPutAway putAway_;
};
