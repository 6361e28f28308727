// SPDX-License-Identifier: GPL-3.0-or-later
// The whole application after a login, driven as a user drives it: open a file through the dialog,
// press toolbar buttons, type into fields, click OK.
#pragma once

#include <string>

#include <QString>

#include "tests/support/AppFixture.h"

class QAbstractButton;
class QAction;
class QLineEdit;

namespace testutil {

class FileOpsFixture : public AppFixture {
protected:
    void SetUp() override;

    void open(const QString& path);
    void press(QAction* button);
    void click(QAbstractButton* button);
    // Types the text into the field as keystrokes, non-ASCII letters included.
    void type(QLineEdit* field, const QString& text);
    // Keyed encryption of the file through the encryption group, with the key typed into Edit1.
    void encrypt(const QString& path, const QString& key);

    // The texts of the message boxes shown with this caption.
    QStringList messagesCaptioned(const QString& caption) const;
};

// The file's SHA-256 in lowercase hex, as sha256sum prints it, taken by Qt: a digest that is not the engine's,
// and one that Windows has too.
std::string sha256sum(const QString& path);
// The file's bytes, for comparing a file before and after.
std::vector<unsigned char> bytesOf(const QString& path);

}  // namespace testutil
