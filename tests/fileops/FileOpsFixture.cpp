// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/fileops/FileOpsFixture.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace testutil {

void FileOpsFixture::SetUp() {
    start();
    // As after a successful login: the whole main window is usable.
    main().setEnabled(true);
}

void FileOpsFixture::open(const QString& path) {
    dialogs.chooseNextFile(path);
    press(main().ToolButton2);
}

void FileOpsFixture::press(QAction* button) { button->trigger(); }

void FileOpsFixture::click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

void FileOpsFixture::type(QLineEdit* field, const QString& text) {
    for (const QChar ch : text) QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void FileOpsFixture::encrypt(const QString& path, const QString& key) {
    open(path);
    press(main().ToolButton4);
    main().Edit1->clear();
    type(main().Edit1, key);
    click(main().BitBtn1);
}

QStringList FileOpsFixture::messagesCaptioned(const QString& caption) const {
    QStringList texts;
    for (const ShownMessage& shown : dialogs.messages())
        if (shown.caption == caption) texts << shown.text;
    return texts;
}

std::string sha256sum(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return "unreadable";
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) return "unreadable";
    return hash.result().toHex().toStdString();
}

std::vector<unsigned char> bytesOf(const QString& path) { return readFile(path.toStdString()); }

}  // namespace testutil
