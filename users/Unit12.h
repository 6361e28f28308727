// The login window: name and password checked against data.adb through their user code. It stays above
// all other windows while the main window is disabled, and closing it ends the program.
#pragma once

#include "platform/ToolWindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TForm12 : public platform::ToolWindow {
public:
    TForm12();

    void BitBtn1Click();  // log in; Enter in Edit2 does the same
    void BitBtn2Click();  // show the user manager

    platform::Picture* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QLineEdit* Edit3 = nullptr;

protected:
    // FormClose: ends the program at once, whatever else is open.
    void closeEvent(QCloseEvent* event) override;
};
