// SPDX-License-Identifier: GPL-3.0-or-later
// A file open dialog component: keeps its file name between runs, like the window's other controls.
#pragma once

#include <functional>

#include "platform/Dialogs.h"

namespace platform {

class OpenDialog {
public:
    OpenDialog() = default;
    OpenDialog(QString title, QString filter) : title_(std::move(title)), filter_(std::move(filter)) {}

    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& name) { fileName_ = name; }
    const QString& title() const { return title_; }
    const QString& filter() const { return filter_; }

    // Shows the dialog. When the user confirms a name it becomes fileName() and `canClose` runs inside
    // the error guard; the dialog then closes. False when cancelled.
    bool execute(const std::function<void()>& canClose);

private:
    QString fileName_;
    QString title_;
    QString filter_;
};

}  // namespace platform
