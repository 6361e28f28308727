// SPDX-License-Identifier: GPL-3.0-or-later
// The support forum window: the maker's forum page, loaded afresh each time the window is shown.
#pragma once

#include <memory>

#include "app/Browser.h"
#include "platform/ToolWindow.h"

class TForm9 : public platform::ToolWindow {
public:
    explicit TForm9(std::unique_ptr<Browser> browser);
    ~TForm9() override;

    void FormShow();

    QWidget* WebBrowser1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Browser> browser_;
};
