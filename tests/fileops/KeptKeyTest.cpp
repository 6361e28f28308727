// SPDX-License-Identifier: GPL-3.0-or-later
// The key groups keep the last key, and a new key typed for the next file replaces it instead of being
// appended to it, visibly or in the masked fields.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/Unit1.h"
#include "engine/VQ203.h"
#include "tests/fileops/FileOpsFixture.h"

namespace {

const QString kDecrypted = QStringLiteral("Dešifrování dokončeno");

class KeptKey : public testutil::FileOpsFixture {
protected:
    // Encryption as a user does it for the next file: nothing cleared first.
    void encryptTyping(const QString& path, const QStringList& parts) {
        open(path);
        press(main().ToolButton4);
        QLineEdit* fields[] = {main().Edit1, main().Edit2, main().Edit3};
        for (int i = 0; i < parts.size(); ++i) type(fields[i], parts[i]);
        click(main().BitBtn1);
    }
    void decryptTyping(const QString& path, const QStringList& parts) {
        open(path);
        press(main().ToolButton8);
        QLineEdit* fields[] = {main().edit4, main().edit5, main().edit6};
        for (int i = 0; i < parts.size(); ++i) type(fields[i], parts[i]);
        click(main().BitBtn2);
    }
    static bool keyFits(const QString& path, const char* key) {
        return VQ203::passcheck(path.toStdString(), key) == 1;
    }
};

TEST_F(KeptKey, ANewKeyTypedForTheNextFileIsTheWholeKey) {
    const QString first = makeFile("first.txt", 400);
    const QString second = makeFile("second.txt", 400);
    encryptTyping(first, {QStringLiteral("abc"), QStringLiteral("123")});
    ASSERT_TRUE(keyFits(first, "abc123"));

    open(second);
    press(main().ToolButton4);
    // The kept key is offered selected, so that Enter would reuse it ...
    EXPECT_EQ(main().Edit1->text(), QStringLiteral("abc"));
    EXPECT_EQ(main().Edit1->selectedText(), QStringLiteral("abc"));
    EXPECT_EQ(main().focusWidget(), main().Edit1);
    // ... and typing replaces all of it: the kept second part belongs to the old key.
    type(main().Edit1, QStringLiteral("k1"));
    EXPECT_TRUE(main().Edit2->text().isEmpty());
    click(main().BitBtn1);
    EXPECT_TRUE(keyFits(second, "k1"));
}

TEST_F(KeptKey, AKeptKeyIsReusedWholeWhenNothingIsTyped) {
    const QString first = makeFile("first.txt", 400);
    const QString second = makeFile("second.txt", 400);
    encryptTyping(first, {QStringLiteral("abc"), QStringLiteral("123")});
    encryptTyping(second, {});
    EXPECT_TRUE(keyFits(second, "abc123"));
}

TEST_F(KeptKey, AChangedLaterPartKeepsTheEarlierAndEmptiesTheRest) {
    const QString first = makeFile("first.txt", 400);
    const QString second = makeFile("second.txt", 400);
    encryptTyping(first, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    open(second);
    press(main().ToolButton4);
    QApplication::setActiveWindow(&main());
    // The keyboard coming back to the next part (after a box, say) finds it selected too.
    main().Edit2->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(main().Edit2->selectedText(), QStringLiteral("b"));
    type(main().Edit2, QStringLiteral("x"));
    EXPECT_TRUE(main().Edit3->text().isEmpty());
    click(main().BitBtn1);
    EXPECT_TRUE(keyFits(second, "ax"));
}

TEST_F(KeptKey, ANewKeyTypedIntoTheMaskedFieldsReplacesTheInvisibleOldOne) {
    const QString first = makeFile("first.txt", 400);
    const QString second = makeFile("second.txt", 400);
    const auto firstPlain = testutil::bytesOf(first);
    const auto secondPlain = testutil::bytesOf(second);
    encryptTyping(first, {QStringLiteral("abc"), QStringLiteral("123")});
    encryptTyping(second, {QStringLiteral("k1")});
    ASSERT_TRUE(keyFits(second, "k1"));

    decryptTyping(second, {QStringLiteral("k1")});
    EXPECT_EQ(testutil::bytesOf(second), secondPlain);
    decryptTyping(first, {QStringLiteral("abc"), QStringLiteral("123")});
    EXPECT_EQ(testutil::bytesOf(first), firstPlain);
    EXPECT_EQ(messagesCaptioned(kDecrypted).size(), 2);
    EXPECT_TRUE(messagesCaptioned(QStringLiteral("Špatné heslo")).isEmpty());
}

}  // namespace
