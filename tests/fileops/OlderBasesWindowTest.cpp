// SPDX-License-Identifier: GPL-3.0-or-later
// Decryption with the older bases through the key window: each base's fixture, a wrong key, the caption.
#include <functional>

#include <gtest/gtest.h>

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "engine/VQ203.h"
#include "fileops/Unit2.h"
#include "tests/support/HeldEngineCalls.h"
#include "tests/engine/legacy/LegacyWriters.h"
#include "tests/app/ShellTestHelpers.h"
#include "tests/fileops/FileOpsFixture.h"

namespace {

struct Base {
    int number;
    std::function<legacytest::Bytes(const legacytest::Bytes&, const std::string&, const legacytest::WriteOptions&)> write;
    QAction* TForm1::*button;
};

const std::vector<Base>& bases() {
    static const std::vector<Base> all{{104, legacytest::write104, &TForm1::ToolButton13},
                                       {105, legacytest::write105, &TForm1::ToolButton14},
                                       {106, legacytest::write106, &TForm1::ToolButton15},
                                       {201, legacytest::write2010, &TForm1::ToolButton19}};
    return all;
}

// The caption the key window has at the moment it appears.
class CaptionAtShow : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) captions << static_cast<QWidget*>(watched)->windowTitle();
        return false;
    }
    QStringList captions;
};

class OlderBases : public testutil::FileOpsFixture {
protected:
    TForm2& keyWindow() const { return *forms().Form2; }

    QString fixture(const Base& base, const std::string& name, const std::string& key) {
        plain = testutil::randomBytes(3000, static_cast<std::uint32_t>(base.number));
        const QString path = QString::fromStdString(dir.file(name));
        testutil::writeFile(path.toStdString(), base.write(plain, key, {}));
        return path;
    }

    void enterKey(const QString& key) {
        keyWindow().MaskEdit1->clear();
        type(keyWindow().MaskEdit1, key);
        click(keyWindow().BitBtn1);
    }

    std::vector<unsigned char> plain;
};

TEST_F(OlderBases, EachBaseDecryptsItsFileAndRefusesAWrongKey) {
    for (const Base& base : bases()) {
        SCOPED_TRACE(base.number);
        dialogs.clear();
        const QString file = fixture(base, "old" + std::to_string(base.number), "starý klíč");
        const auto encrypted = testutil::bytesOf(file);
        open(file);
        EXPECT_FALSE(main().fast->isChecked());
        press(main().*base.button);
        EXPECT_EQ(main().baze, base.number);
        ASSERT_TRUE(keyWindow().isVisible());
        EXPECT_EQ(keyWindow().windowTitle(), QStringLiteral("Klíč pro dešifrování VQ%1").arg(base.number));

        enterKey(QStringLiteral("jiný klíč"));
        ASSERT_EQ(dialogs.errorReports().size(), 1);
        EXPECT_EQ(testutil::bytesOf(file), encrypted);
        EXPECT_TRUE(keyWindow().isVisible()) << "a refused key can be corrected";

        const auto before = testutil::stateOf(main());
        type(keyWindow().MaskEdit1, QString());
        keyWindow().MaskEdit1->clear();
        type(keyWindow().MaskEdit1, QStringLiteral("starý klíč"));
        QTest::keyClick(keyWindow().MaskEdit1, Qt::Key_Return);  // Enter presses OK
        EXPECT_EQ(testutil::bytesOf(file), plain);
        EXPECT_EQ(dialogs.messages().size(), 1u) << "success is silent";
        EXPECT_TRUE(keyWindow().MaskEdit1->text().isEmpty());
        EXPECT_FALSE(keyWindow().isVisible());
        EXPECT_EQ(testutil::stateOf(main()), before) << "the main window is not refreshed";
    }
}

TEST_F(OlderBases, EscStopsEachBasesDecryptionAndTheKeyWindowStaysWithItsKey) {
    for (const Base& base : bases()) {
        SCOPED_TRACE(base.number);
        dialogs.clear();
        const QString file = fixture(base, "old" + std::to_string(base.number), "klíč");
        const auto encrypted = testutil::bytesOf(file);
        const auto entries = dir.entries();
        open(file);
        press(main().*base.button);
        {
            testutil::HeldEngineCalls held([&](int) { QTest::keyClick(keyWindow().MaskEdit1, Qt::Key_Escape); });
            enterKey(QStringLiteral("klíč"));
            EXPECT_EQ(held.calls(), 1);
        }
        EXPECT_EQ(testutil::bytesOf(file), encrypted);
        EXPECT_EQ(dir.entries(), entries) << "no temporary left";
        EXPECT_EQ(dialogs.errorReports(),
                  QStringList{QStringLiteral("Operace byla zrušena, soubor zůstal beze změny.")});
        EXPECT_TRUE(keyWindow().isVisible());
        EXPECT_EQ(keyWindow().MaskEdit1->text(), QStringLiteral("klíč")) << "ready to be started again";
        keyWindow().hide();
    }
}

TEST_F(OlderBases, CaptionIsSetAfterShowingAndTheLastChoiceCounts) {
    CaptionAtShow shown;
    keyWindow().installEventFilter(&shown);
    const QString first = fixture(bases()[1], "a105", "k");
    const QString second = fixture(bases()[3], "b2010", "k");
    const auto firstBytes = testutil::bytesOf(first);
    open(first);
    press(main().ToolButton14);
    press(main().ToolButton19);  // while the window is still open
    EXPECT_EQ(main().baze, 201);
    EXPECT_TRUE(keyWindow().windowTitle().endsWith(QStringLiteral("201")));
    open(second);  // the file name is read at OK
    enterKey(QStringLiteral("k"));
    EXPECT_EQ(testutil::bytesOf(second), plain);
    EXPECT_EQ(testutil::bytesOf(first), firstBytes);

    open(first);
    press(main().ToolButton14);
    EXPECT_EQ(shown.captions, (QStringList{QStringLiteral("Klíč pro dešifrování"),
                                           QStringLiteral("Klíč pro dešifrování VQ201")}));
    keyWindow().removeEventFilter(&shown);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(OlderBases, ClosingKeepsTheKeyAndOkNeedsAnOpenEncryptedFile) {
    const QString file = fixture(bases()[0], "old104", "k");
    open(file);
    press(main().ToolButton13);
    type(keyWindow().MaskEdit1, QStringLiteral("k"));
    keyWindow().close();
    main().loadfile();  // as after any file operation: the dialog still names the file
    main().Deifrovat4Click();
    EXPECT_EQ(keyWindow().MaskEdit1->text(), QStringLiteral("k"));
    click(keyWindow().BitBtn1);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Není otevřen soubor"));
    EXPECT_NE(testutil::bytesOf(file), plain);
}

}  // namespace
