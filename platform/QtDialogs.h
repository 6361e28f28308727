// SPDX-License-Identifier: GPL-3.0-or-later
// The real dialogs of the program.
#pragma once

#include "platform/Dialogs.h"

namespace platform {

class QtDialogs : public Dialogs {
public:
    Answer message(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial,
                                 Echo echo) override;
    std::optional<QString> openFile(const OpenFileOptions& options, const CanClose& canClose) override;
};

}  // namespace platform
