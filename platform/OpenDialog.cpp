// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/OpenDialog.h"

#include "platform/ErrorReport.h"

namespace platform {

bool OpenDialog::execute(const std::function<void()>& canClose) {
    const OpenFileOptions options{title_, filter_, fileName_};
    const auto chosen = dialogs().openFile(options, [&](const QString& name) {
        fileName_ = name;
        guard(canClose);
        return true;
    });
    return chosen.has_value();
}

}  // namespace platform
