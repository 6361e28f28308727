// SPDX-License-Identifier: GPL-3.0-or-later
// The key groups as the user types into them, Enter, the password character, and the key generator.
#include <random>

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QAbstractItemView>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "fileops/Unit2.h"
#include "app/Unit10.h"
#include "app/Unit9.h"
#include "fileops/Unit3.h"
#include "fileops/Unit4.h"
#include "folders/Unit5.h"
#include "folders/Unit6.h"
#include "folders/Unit7.h"
#include "tests/fileops/FileOpsFixture.h"

namespace {

class KeyGroups : public testutil::FileOpsFixture {
protected:
    // What must hold after every change of a key field.
    void expectInvariants(const char* after) {
        const TForm1& w = main();
        SCOPED_TRACE(after);
        const QLineEdit* encryption[] = {w.Edit1, w.Edit2, w.Edit3};
        const QPushButton* gens[] = {w.Button1, w.Button2, w.Button3};
        const QLineEdit* decryption[] = {w.edit4, w.edit5, w.edit6};
        for (int i = 1; i < 3; ++i) {
            EXPECT_EQ(encryption[i]->isEnabled(), encryption[i - 1]->isEnabled() && !encryption[i - 1]->text().isEmpty());
            EXPECT_EQ(decryption[i]->isEnabled(), decryption[i - 1]->isEnabled() && !decryption[i - 1]->text().isEmpty());
        }
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(encryption[i]->isEnabled() || encryption[i]->text().isEmpty());
            EXPECT_TRUE(decryption[i]->isEnabled() || decryption[i]->text().isEmpty());
            EXPECT_EQ(gens[i]->isEnabled(), encryption[i]->isEnabled());
        }
        EXPECT_EQ(w.BitBtn1->isEnabled(), !w.Edit1->text().isEmpty());
        EXPECT_EQ(w.BitBtn2->isEnabled(), !w.edit4->text().isEmpty());
    }

    TForm3& generator() const { return *forms().Form3; }
};

TEST_F(KeyGroups, CascadeHoldsItsInvariantsThroughAnySequenceOfEdits) {
    QLineEdit* fields[] = {main().Edit1, main().Edit2, main().Edit3, main().edit4, main().edit5, main().edit6};
    QPushButton* gens[] = {main().Button1, main().Button2, main().Button3};
    expectInvariants("start");
    std::mt19937 random(4);
    for (int step = 0; step < 300; ++step) {
        QLineEdit* field = fields[random() % 6];
        switch (random() % 4) {
        case 0:
            type(field, QStringLiteral("k"));
            break;
        case 1:
            QTest::keyClick(field, Qt::Key_Backspace);
            break;
        case 2:
            field->clear();
            break;
        default:
            click(gens[random() % 3]);
            break;
        }
        expectInvariants(("step " + std::to_string(step)).c_str());
    }
}

TEST_F(KeyGroups, EmptyingAPartEmptiesTheLaterOnes) {
    TForm1& w = main();
    click(w.Button1);  // "Gen>>" beside an empty Edit1 fills it, and the cascade follows
    EXPECT_FALSE(w.Edit1->text().isEmpty());
    EXPECT_TRUE(w.Edit2->isEnabled() && w.Button2->isEnabled() && w.BitBtn1->isEnabled());
    type(w.Edit2, QStringLiteral("b"));
    type(w.Edit3, QStringLiteral("c"));

    w.Edit2->clear();
    EXPECT_TRUE(w.Edit3->text().isEmpty());
    EXPECT_FALSE(w.Edit3->isEnabled() || w.Button3->isEnabled());
    EXPECT_TRUE(w.BitBtn1->isEnabled());

    type(w.Edit2, QStringLiteral("b"));
    type(w.Edit3, QStringLiteral("c"));
    w.Edit1->clear();
    for (QLineEdit* part : {w.Edit1, w.Edit2, w.Edit3}) EXPECT_TRUE(part->text().isEmpty());
    for (QWidget* off : std::initializer_list<QWidget*>{w.Edit2, w.Edit3, w.Button2, w.Button3, w.BitBtn1})
        EXPECT_FALSE(off->isEnabled()) << off->objectName().toStdString();
    EXPECT_TRUE(w.Button1->isEnabled());

    type(w.edit4, QStringLiteral(" "));  // a blank is a key part
    EXPECT_TRUE(w.BitBtn2->isEnabled());
    EXPECT_FALSE(w.edit6->isEnabled());
    type(w.edit5, QStringLiteral("x"));
    EXPECT_TRUE(w.edit6->isEnabled());
}

TEST_F(KeyGroups, ShowingOneGroupHidesTheOtherAndKeepsTheParts) {
    open(makeFile("plain.txt", 10));
    press(main().ToolButton4);
    EXPECT_TRUE(main().sifr->isVisible());
    EXPECT_FALSE(main().desifr->isVisible());
    type(main().Edit1, QStringLiteral("tajné"));
    main().Deifrovat1Click();
    EXPECT_TRUE(main().desifr->isVisible());
    EXPECT_FALSE(main().sifr->isVisible());
    main().ifrovat1Click();
    EXPECT_EQ(main().Edit1->text(), QStringLiteral("tajné"));
    EXPECT_TRUE(main().BitBtn1->isEnabled());
}

TEST_F(KeyGroups, TheGroupThatAppearsTakesTheKeyboard) {
    main().Deifrovat1Click();
    EXPECT_EQ(main().focusWidget(), main().edit4);
    main().ifrovat1Click();
    EXPECT_EQ(main().focusWidget(), main().Edit1);
}

TEST_F(KeyGroups, EnterPressesOnlyTheVisibleEnabledOk) {
    // With no file open, a pressed OK shows why nothing was done; that box tells whether it was pressed.
    const QString nothingOpen = QStringLiteral("Není otevřen soubor");
    QTest::keyClick(main().Edit1, Qt::Key_Return);  // both groups hidden
    main().ifrovat1Click();
    QTest::keyClick(main().Edit1, Qt::Key_Return);  // OK disabled
    EXPECT_TRUE(dialogs.messages().empty());

    type(main().Edit1, QStringLiteral("a"));
    QTest::keyClick(main().Edit1, Qt::Key_Return);
    ASSERT_EQ(messagesCaptioned(nothingOpen).size(), 1);
    EXPECT_EQ(dialogs.messages().back().icon, platform::Icon::Warning);

    main().Deifrovat1Click();  // desifr shown, its OK still disabled though BitBtn1 is enabled
    QTest::keyClick(main().edit4, Qt::Key_Enter);
    EXPECT_EQ(messagesCaptioned(nothingOpen).size(), 1);
    type(main().edit4, QStringLiteral("a"));
    QTest::keyClick(main().edit4, Qt::Key_Enter);
    EXPECT_EQ(messagesCaptioned(nothingOpen).size(), 2);
}

TEST_F(KeyGroups, PasswordFieldsShowBarsAndNoFieldLimitsTheKey) {
    for (QLineEdit* field : {main().edit4, main().edit5, main().edit6, forms().Form2->MaskEdit1}) {
        EXPECT_EQ(field->echoMode(), QLineEdit::Password);
        EXPECT_EQ(field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, field), '|');
    }
    for (QLineEdit* clear : {main().Edit1, main().Edit2, main().Edit3}) EXPECT_EQ(clear->echoMode(), QLineEdit::Normal);
    // No length limit: a key longer than a line edit takes by default stays whole.
    const QString longKey(40000, QLatin1Char('k'));
    for (QLineEdit* field : {main().Edit1, main().edit4, forms().Form2->MaskEdit1}) {
        field->setText(longKey);
        EXPECT_EQ(field->text().size(), longKey.size()) << field->objectName().toStdString();
    }
}

TEST_F(KeyGroups, GeneratingKeysOfTheChosenSize) {
    press(main().ToolButton17);
    TForm3& g = generator();
    ASSERT_TRUE(g.isVisible());
    EXPECT_EQ(g.ComboBox1->currentText(), QStringLiteral("32"));
    EXPECT_EQ(g.ComboBox1->count(), 8);

    click(g.BitBtn1);
    g.ComboBox1->setCurrentText(QStringLiteral("4096"));
    click(g.BitBtn1);
    g.ComboBox1->lineEdit()->clear();
    type(g.ComboBox1->lineEdit(), QStringLiteral("100"));
    QTest::keyClick(g.ComboBox1->lineEdit(), Qt::Key_Return);  // Enter presses "Generovat"

    ASSERT_EQ(g.code->count(), 3);
    EXPECT_EQ(g.code->currentIndex(), 2);
    EXPECT_EQ(g.code->currentText(), g.Edit1->text());
    // keynb writes the bits as hexadecimal: four bits a digit.
    EXPECT_EQ(g.code->itemText(0).size(), 8);
    EXPECT_EQ(g.code->itemText(1).size(), 1024);
    EXPECT_EQ(g.code->itemText(2).size(), 25);
    EXPECT_NE(g.code->itemText(0), g.code->itemText(1).left(8));
    EXPECT_EQ(g.ComboBox1->count(), 8) << "a typed size is not added to the list";

    // Closing and reopening keeps the size and the keys.
    g.close();
    main().Generovatkl1Click();
    EXPECT_EQ(g.code->count(), 3);
    EXPECT_EQ(g.ComboBox1->currentText(), QStringLiteral("100"));
    EXPECT_TRUE(dialogs.errorReports().isEmpty());
}

TEST_F(KeyGroups, SizesThatAreNoNumberOrThatTheGeneratorRefuses) {
    main().Generovatkl1Click();
    TForm3& g = generator();
    g.ComboBox1->setCurrentText(QStringLiteral("abc"));
    click(g.BitBtn1);
    g.ComboBox1->setCurrentText(QStringLiteral("0"));
    click(g.BitBtn1);
    EXPECT_EQ(dialogs.errorReports(), (QStringList{QStringLiteral("'abc' is not a valid integer value."),
                                                   QStringLiteral("Velikost klíče musí být 1 až 65536 bitů.")}));
    EXPECT_EQ(g.code->count(), 0);
}

TEST_F(KeyGroups, AGeneratedKeyIsCopiedWholeFromTheListIntoAKeyField) {
    main().Generovatkl1Click();
    TForm3& g = generator();
    g.ComboBox1->setCurrentText(QStringLiteral("4096"));
    click(g.BitBtn1);
    const QString key = g.Edit1->text();
    ASSERT_EQ(key.size(), 1024);

    QLineEdit* shown = g.code->lineEdit();
    ASSERT_NE(shown, nullptr);
    QTest::keyClick(shown, Qt::Key_X);  // the list is for copying from: typing changes nothing
    EXPECT_EQ(g.code->currentText(), key);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(shown, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(shown, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), key);

    // The open list shows the key whole, over several lines, not cut off.
    g.code->showPopup();
    const QModelIndex item = g.code->model()->index(0, g.code->modelColumn());
    EXPECT_GT(g.code->view()->visualRect(item).height(), 3 * g.code->view()->fontMetrics().height());
    g.code->hidePopup();

    main().ifrovat1Click();
    QTest::keyClick(main().Edit1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(main().Edit1->text(), key);
    EXPECT_TRUE(main().BitBtn1->isEnabled());
}

TEST_F(KeyGroups, ToolWindowsBelongToTheMainWindowAndComeBackWhenMinimised) {
    for (QWidget* tool : std::initializer_list<QWidget*>{forms().Form2, forms().Form3, forms().Form4, forms().Form5,
                                                         forms().Form6, forms().Form7, forms().Form9, forms().Form10}) {
        EXPECT_EQ(tool->parentWidget(), &main()) << tool->objectName().toStdString();
        EXPECT_TRUE(tool->isWindow());
    }
    open(makeFile("plain.txt", 10));
    const std::pair<QAction*, QWidget*> buttons[] = {
        {main().ToolButton17, forms().Form3}, {main().ToolButton21, forms().Form4}, {main().ToolButton18, forms().Form6}};
    for (const auto& [button, tool] : buttons) {
        press(button);
        ASSERT_TRUE(tool->isVisible());
        tool->showMinimized();
        ASSERT_TRUE(tool->isMinimized());
        press(button);
        EXPECT_FALSE(tool->isMinimized()) << tool->objectName().toStdString();
        EXPECT_TRUE(tool->isVisible());
    }
}

TEST_F(KeyGroups, EscClosesTheKeyGeneratorAndTheFingerprintWindowWhereverTheKeyboardIs) {
    TForm4& fingerprint = *forms().Form4;
    for (QWidget* inside : std::initializer_list<QWidget*>{generator().ComboBox1, generator().code, generator().BitBtn1,
                                                          fingerprint.Edit1}) {
        QWidget& window = *inside->window();
        SCOPED_TRACE(window.objectName().toStdString());
        static_cast<platform::ToolWindow&>(window).showInFront();
        inside->setFocus();
        QTest::keyClick(inside, Qt::Key_Escape);
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_TRUE(main().isVisible());  // the window that had the keyboard closes, nothing else
}

}  // namespace
