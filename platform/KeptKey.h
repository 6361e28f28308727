// SPDX-License-Identifier: GPL-3.0-or-later
// Key fields keep the last key for the next operation, which saves typing it again, but a key typed into a
// field that still holds the last one would be appended to it, invisibly so in a masked field. A group
// offered again therefore selects what it kept: typing replaces it and Enter reuses it. The first part the
// user then changes starts a new key, so the kept parts after it are emptied rather than appended.
#pragma once

#include <vector>

#include <QObject>

class QLineEdit;

namespace platform {

class KeptKey : public QObject {
public:
    // `parts`: the group's fields in the order their texts are joined into the key.
    KeptKey(std::vector<QLineEdit*> parts, QObject* parent);

    // The group is shown for a new operation: the keyboard goes to the first part, its kept text selected.
    void offer();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void partChanged(std::size_t index);

    std::vector<QLineEdit*> parts_;
    bool kept_ = false;      // the texts are the last operation's key, untouched since the group was offered
    bool emptying_ = false;  // our own clearing of later parts is no change by the user
};

}  // namespace platform
