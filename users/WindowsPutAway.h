// SPDX-License-Identifier: GPL-3.0-or-later
// The program's other windows while nobody is logged in: hidden, so that none of them takes input, and
// shown again, where they were, after the next login.
#pragma once

#include <vector>

#include <QPointer>
#include <QWidget>

namespace users {

class WindowsPutAway {
public:
    // Hides every visible secondary window of the program except those in `keep`; those hidden by an
    // earlier call stay hidden and remembered.
    void putAway(const std::vector<const QWidget*>& keep);
    // Shows the hidden windows again, in the order they were hidden.
    void showAgain();

private:
    std::vector<QPointer<QWidget>> hidden_;
};

}  // namespace users
