// SPDX-License-Identifier: GPL-3.0-or-later
// Keyed encryption and decryption of the open file through the real engine, and the fingerprint window.
#include <algorithm>
#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "engine/VQ203.h"
#include "fileops/Unit4.h"
#include "platform/QtPorts.h"
#include "platform/StatusBar.h"
#include "tests/app/ShellTestHelpers.h"
#include "tests/fileops/FileOpsFixture.h"
#include "tests/support/HeldEngineCalls.h"

namespace {

using platform::Answer;
using platform::Icon;

const QString kEncrypted = QStringLiteral("Šifrování dokončeno");
const QString kDecrypted = QStringLiteral("Dešifrování dokončeno");

// Passes every dialog on to the scripted one and notes what `stav` said while a box was shown.
class StateAtEachBox : public platform::Dialogs {
public:
    StateAtEachBox(platform::Dialogs& next, const QLabel& stav) : next_(next), stav_(stav) { platform::setDialogs(this); }
    ~StateAtEachBox() override { platform::setDialogs(&next_); }
    Answer message(const QString& text, const QString& caption, Icon icon, platform::Buttons buttons) override {
        states << stav_.text();
        return next_.message(text, caption, icon, buttons);
    }
    std::optional<QString> input(const QString& c, const QString& p, const QString& i, platform::Echo e) override {
        return next_.input(c, p, i, e);
    }
    std::optional<QString> openFile(const platform::OpenFileOptions& o, const platform::CanClose& c) override {
        return next_.openFile(o, c);
    }
    QStringList states;

private:
    platform::Dialogs& next_;
    const QLabel& stav_;
};

// The texts a label showed, each once, in the order they first appeared. Looked at before every event the
// GUI thread delivers, which includes each text the engine's thread posts and each forced repaint.
class TextsShown : public QObject {
public:
    explicit TextsShown(const QLabel& label) : label_(label) { QCoreApplication::instance()->installEventFilter(this); }
    ~TextsShown() override { QCoreApplication::instance()->removeEventFilter(this); }
    bool eventFilter(QObject*, QEvent*) override {
        if (!texts.contains(label_.text())) texts << label_.text();
        return false;
    }
    // Without the reset that ends every operation, which may come after the last event.
    QStringList beforeReset() const {
        QStringList shown = texts;
        shown.removeAll(QStringLiteral("..."));
        return shown;
    }
    QStringList texts;

private:
    const QLabel& label_;
};

class KeyedOperations : public testutil::FileOpsFixture {
protected:
    void decrypt(const QString& path, const QStringList& parts) {
        open(path);
        press(main().ToolButton8);
        for (QLineEdit* field : {main().edit4, main().edit5, main().edit6}) field->clear();
        QLineEdit* fields[] = {main().edit4, main().edit5, main().edit6};
        for (int i = 0; i < parts.size(); ++i) type(fields[i], parts[i]);
        click(main().BitBtn2);
    }

    void expectReset() {
        EXPECT_EQ(main().sb->panelText(0), QString());
        EXPECT_EQ(main().velikost->text(), QStringLiteral("..."));
        EXPECT_EQ(main().stav->text(), QStringLiteral("..."));
        EXPECT_FALSE(main().ToolButton4->isEnabled() || main().ToolButton8->isEnabled());
        EXPECT_EQ(main().pb->value(), 0);
    }

    // Still open as it was, nothing reported but the error, no running step's text left in `stav`.
    void expectStillOpen(const QString& path, QAction* offered) {
        EXPECT_EQ(main().sb->panelText(0), path);
        EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
        EXPECT_TRUE(offered->isEnabled());
        EXPECT_EQ(main().pb->value(), 0);
        EXPECT_TRUE(messagesCaptioned(kEncrypted).isEmpty());
        EXPECT_TRUE(messagesCaptioned(kDecrypted).isEmpty());
    }

    QString blocksFile(const std::string& name, int blocks) { return makeFile(name, static_cast<std::size_t>(blocks) * 128); }
};

TEST_F(KeyedOperations, RoundTripsWithTheKeySplitAnyWay) {
    const QString file = makeFile("doc.txt", 5000);
    const auto plain = testutil::bytesOf(file);
    const std::vector<QStringList> splits{{QStringLiteral("žluťoučký")},
                                          {QStringLiteral("žlu"), QStringLiteral("ťoučk"), QStringLiteral("ý")},
                                          {QStringLiteral("žluťoučk"), QStringLiteral("ý")}};
    for (const QStringList& split : splits) {
        dialogs.clear();
        StateAtEachBox boxes(dialogs, *main().stav);
        encrypt(file, QStringLiteral("žluťoučký"));
        EXPECT_EQ(messagesCaptioned(kEncrypted), QStringList{QStringLiteral("Soubor byl úspěšně šifrován.")});
        EXPECT_FALSE(main().sifr->isVisible());
        expectReset();
        ASSERT_EQ(VQ203::desifrovatelnost(file.toStdString()), VQ203::Normal);

        decrypt(file, split);
        EXPECT_EQ(messagesCaptioned(kDecrypted), QStringList{QStringLiteral("Soubor byl úspěšně dešifrován.")});
        EXPECT_FALSE(main().desifr->isVisible());
        expectReset();
        EXPECT_EQ(testutil::bytesOf(file), plain) << split.join('|').toStdString();
        EXPECT_EQ(boxes.states, (QStringList{QStringLiteral("Soubor je šifrován"), kDecrypted}));
    }
    EXPECT_EQ(main().Edit1->text(), QStringLiteral("žluťoučký")) << "key parts stay after the operation";
}

// Each step says what it does while it runs, the fingerprint moves the bar, and the handler's texts stay between.
TEST_F(KeyedOperations, EachStepShowsWhatItDoesInOrder) {
    const QString file = makeFile("doc.txt", 5000);
    const QString fingerprinting = QStringLiteral("Počítám otisk souboru…");
    int highestWhileFingerprinting = 0;
    QObject::connect(main().pb, &QProgressBar::valueChanged, [&](int value) {
        if (main().stav->text() == fingerprinting)
            highestWhileFingerprinting = std::max(highestWhileFingerprinting, value);
    });
    open(file);
    press(main().ToolButton4);
    type(main().Edit1, QStringLiteral("klíč"));
    {
        TextsShown shown(*main().stav);
        click(main().BitBtn1);
        EXPECT_EQ(shown.beforeReset(),
                  (QStringList{QStringLiteral("Soubor otevřen"), fingerprinting,
                               QStringLiteral("Vytváření otisku souboru.."), QStringLiteral("Přidávání příznaku.."),
                               QStringLiteral("Šifruje se.."), QStringLiteral("Odvozuji klíč…"),
                               QStringLiteral("Šifruji…"), QStringLiteral("Soubor je šifrován")}));
    }
    EXPECT_EQ(highestWhileFingerprinting, 100);
    open(file);
    press(main().ToolButton8);
    type(main().edit4, QStringLiteral("klíč"));
    {
        TextsShown shown(*main().stav);
        click(main().BitBtn2);
        // The decryption fingerprints its result as it makes it durable: the check that follows finds it ready.
        EXPECT_EQ(shown.beforeReset(),
                  (QStringList{QStringLiteral("Soubor otevřen"), QStringLiteral("Odvozuji klíč…"),
                               QStringLiteral("Dešifruje se.."), QStringLiteral("Dešifruji…"),
                               QStringLiteral("Ověřuji otisk…"), QStringLiteral("Odebírání příznaku.."), kDecrypted}));
    }
    EXPECT_EQ(messagesCaptioned(kDecrypted), QStringList{QStringLiteral("Soubor byl úspěšně dešifrován.")});
}

TEST_F(KeyedOperations, TheSameLettersDecryptHoweverTheyWereComposed) {
    const QString file = makeFile("doc.txt", 300);
    const auto plain = testutil::bytesOf(file);
    encrypt(file, QStringLiteral("kůň"));  // precomposed
    open(file);
    press(main().ToolButton8);
    main().edit4->setText(QStringLiteral("ku\u030An\u030C"));  // the same letters, decomposed
    click(main().BitBtn2);
    EXPECT_EQ(testutil::bytesOf(file), plain);
    EXPECT_TRUE(dialogs.errorReports().isEmpty());
}

TEST_F(KeyedOperations, WrongKeyOnANormalFileThenTheRightOne) {
    const QString file = makeFile("doc.txt", 3000);
    const auto plain = testutil::bytesOf(file);
    encrypt(file, QStringLiteral("správný"));
    const auto encrypted = testutil::bytesOf(file);
    dialogs.clear();

    decrypt(file, {QStringLiteral("špatný")});
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Špatné heslo"));
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("Zadali jste špatné heslo. Soubor nemůže být dešifrován."));
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Error);
    EXPECT_TRUE(main().desifr->isVisible());
    EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
    expectStillOpen(file, main().ToolButton8);
    EXPECT_EQ(testutil::bytesOf(file), encrypted);

    main().edit4->clear();
    type(main().edit4, QStringLiteral("správný"));
    click(main().BitBtn2);
    EXPECT_EQ(messagesCaptioned(kDecrypted).size(), 1);
    EXPECT_EQ(testutil::bytesOf(file), plain);
}

TEST_F(KeyedOperations, FastFileWithAWrongKeyIsRefusedBeforeAnyPassLikeANormalOne) {
    const QString file = blocksFile("big.bin", 300);
    const auto plain = testutil::bytesOf(file);
    dialogs.answerNext(Answer::Yes);
    encrypt(file, QStringLiteral("abc"));
    ASSERT_EQ(VQ203::desifrovatelnost(file.toStdString()), VQ203::Fast);
    const auto encrypted = testutil::bytesOf(file);
    dialogs.clear();

    int highest = 0;
    QObject::connect(main().pb, &QProgressBar::valueChanged, [&](int value) { highest = std::max(highest, value); });
    decrypt(file, {QStringLiteral("xyz")});
    EXPECT_EQ(highest, 0) << "no pass over the file";
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].caption, QStringLiteral("Špatné heslo"));
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("Zadali jste špatné heslo. Soubor nemůže být dešifrován."));
    EXPECT_TRUE(main().desifr->isVisible());
    EXPECT_TRUE(main().fast->isChecked());
    expectStillOpen(file, main().ToolButton8);
    EXPECT_EQ(testutil::bytesOf(file), encrypted);

    main().edit4->clear();
    type(main().edit4, QStringLiteral("abc"));
    click(main().BitBtn2);
    EXPECT_EQ(messagesCaptioned(kDecrypted), QStringList{QStringLiteral("Soubor byl úspěšně dešifrován.")});
    EXPECT_FALSE(main().fast->isChecked());
    EXPECT_EQ(testutil::bytesOf(file), plain);
}

// A long encryption, held on its worker thread while the user clicks around: nothing reacts, the window is
// drawn meanwhile, and the encryption ends exactly as it would have.
TEST_F(KeyedOperations, ALongEncryptionKeepsTheWindowAliveAndIgnoresTheUser) {
    const QString file = makeFile("doc.txt", 5000);
    open(file);
    press(main().ToolButton4);
    type(main().Edit1, QStringLiteral("klíč"));
    testutil::PaintCounter paints(*main().stav);
    const QString encrypting = QStringLiteral("Šifruje se..");
    QStringList statesDuringCalls;
    int encryptionCall = 0;
    std::size_t boxesBefore = 0;
    int paintsBefore = 0;
    int paintsWhileEncrypting = 0;
    {
        testutil::HeldEngineCalls held(
            [&](int call) {
                statesDuringCalls << main().stav->text();
                if (main().stav->text() != encrypting) return;  // the steps before the encryption itself
                encryptionCall = call;
                boxesBefore = dialogs.messages().size();
                paintsBefore = paints.count();
                // A stray click on "Zničit soubor" and on "Otevřít soubor", Enter, and a mnemonic.
                QTest::mouseClick(main().ToolBar1->widgetForAction(main().ToolButton6), Qt::LeftButton);
                QTest::mouseClick(main().ToolBar1->widgetForAction(main().ToolButton2), Qt::LeftButton);
                QTest::keyClick(main().Edit1, Qt::Key_Return);
                QTest::keyClick(&main(), Qt::Key_O, Qt::AltModifier);
                EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no menu opened";
                main().update();  // as the window system asks when something uncovered the window
            },
            [&](int call) {
                if (call == encryptionCall) paintsWhileEncrypting = paints.count() - paintsBefore;
            });
        click(main().BitBtn1);
        ASSERT_GT(encryptionCall, 0);
        EXPECT_EQ(held.calls(), encryptionCall) << "the encryption is the last engine call";
    }
    QCoreApplication::processEvents();  // nothing given meanwhile comes back now

    // The handler's texts as each call begins: the fingerprint under the old one, the flag and the encryption
    // under theirs (the engine's own step texts follow once it works).
    EXPECT_EQ(statesDuringCalls.first(), QStringLiteral("Soubor otevřen"));
    EXPECT_EQ(statesDuringCalls.mid(statesDuringCalls.size() - 2),
              (QStringList{QStringLiteral("Přidávání příznaku.."), encrypting}));
    EXPECT_GT(paintsWhileEncrypting, 0);
    EXPECT_EQ(boxesBefore, 0u);
    EXPECT_EQ(dialogs.messages().size(), 1u) << "no question, no open dialog, only the result";
    EXPECT_EQ(messagesCaptioned(kEncrypted), QStringList{QStringLiteral("Soubor byl úspěšně šifrován.")});
    EXPECT_EQ(dialogs.openDialogs().size(), 1u);  // the one that opened the file
    expectReset();
    EXPECT_EQ(VQ203::desifrovatelnost(file.toStdString()), VQ203::Normal);
}

TEST_F(KeyedOperations, FastEncryptionIsOfferedAboveKeyLengthPlus256) {
    struct Case {
        int blocks;
        QString key;
        std::optional<Answer> answer;  // none: no question may be asked
        int kind;
    };
    const std::vector<Case> cases{
        {259, QStringLiteral("abc"), std::nullopt, VQ203::Normal},
        {260, QStringLiteral("abc"), Answer::Yes, VQ203::Fast},
        {260, QStringLiteral("abc"), Answer::No, VQ203::Normal},
        {266, QStringLiteral("0123456789"), std::nullopt, VQ203::Normal},
        // The length counts letters, not their bytes: three letters of two bytes each.
        {260, QStringLiteral("ššš"), Answer::No, VQ203::Normal},
    };
    int n = 0;
    for (const Case& c : cases) {
        dialogs.clear();
        const QString file = blocksFile("f" + std::to_string(n++), c.blocks);
        if (c.answer) dialogs.answerNext(*c.answer);
        encrypt(file, c.key);
        const QStringList asked = messagesCaptioned(QStringLiteral("Otázka"));
        EXPECT_EQ(asked.size(), c.answer ? 1 : 0) << c.blocks;
        if (c.answer) {
            EXPECT_EQ(asked[0], QStringLiteral("Na soubor je možné použít rychlé šifrování. Chce jej použít?"));
        }
        EXPECT_EQ(VQ203::desifrovatelnost(file.toStdString()), c.kind) << c.blocks;
    }
}

TEST_F(KeyedOperations, FingerprintBeforeEncryptionEqualsTheOneAfterDecryption) {
    const QString file = makeFile("doc.txt", 7000);
    TForm4& window = *forms().Form4;
    open(file);
    const auto before = testutil::stateOf(main());
    press(main().ToolButton21);
    ASSERT_TRUE(window.isVisible());
    const QString first = window.Edit1->text();
    EXPECT_EQ(first.toStdString(), testutil::sha256sum(file));
    EXPECT_EQ(testutil::stateOf(main()), before) << "the fingerprint changes nothing";

    window.close();
    encrypt(file, QStringLiteral("klíč"));
    open(file);
    main().Vytvoithashsouboru1->trigger();
    EXPECT_TRUE(window.isVisible());
    EXPECT_NE(window.Edit1->text(), first) << "an encrypted file's own content";
    decrypt(file, {QStringLiteral("klíč")});
    open(file);
    press(main().ToolButton21);
    EXPECT_EQ(window.Edit1->text(), first);
}

TEST_F(KeyedOperations, AFlagThatCarriesAnotherFingerprintIsReportedAsDamage) {
    const QString file = makeFile("doc.txt", 900);
    const auto plain = testutil::bytesOf(file);
    {
        QProgressBar bar;
        QWidget window;
        platform::ProgressBarPort pb(bar);
        platform::WindowPort port(window);
        VQ203::priznak_pridat(std::string(64, '0'), file.toStdString(), pb);
        VQ203::sifrovat(file.toStdString(), "klíč", pb, port);
    }
    decrypt(file, {QStringLiteral("klíč")});
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].caption, kDecrypted);
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("Soubor byl dešifrován, ale vyskytla se chyba. Soubor už "
                                                         "pravděpodobně nepůjde zrekostruovat."));
    EXPECT_EQ(dialogs.messages()[0].icon, Icon::Error);
    expectReset();
    EXPECT_EQ(testutil::bytesOf(file), plain);
}

TEST_F(KeyedOperations, OkButtonsAreGuardedAgainstAFileThatDoesNotFit) {
    const QString plain = makeFile("plain.txt", 100);
    main().ifrovat1Click();
    type(main().Edit1, QStringLiteral("k"));
    click(main().BitBtn1);  // nothing open
    open(plain);
    main().Deifrovat1Click();
    type(main().edit4, QStringLiteral("k"));
    click(main().BitBtn2);  // a plain file is no file to decrypt
    encrypt(plain, QStringLiteral("k"));
    const auto encrypted = testutil::bytesOf(plain);
    open(plain);
    main().ifrovat1Click();
    click(main().BitBtn1);  // an encrypted file is no file to encrypt
    EXPECT_EQ(testutil::bytesOf(plain), encrypted);
    main().edit4->clear();
    main().BitBtn2Click();  // the missing-key guard, which the cascade keeps out of reach

    std::vector<std::pair<QString, Icon>> shown;
    for (const auto& m : dialogs.messages())
        if (m.caption != kEncrypted) shown.push_back({m.caption, m.icon});
    EXPECT_EQ(shown, (std::vector<std::pair<QString, Icon>>{{QStringLiteral("Není otevřen soubor"), Icon::Warning},
                                                             {QStringLiteral("Soubor není šifrován"), Icon::Warning},
                                                             {QStringLiteral("Soubor je šifrován"), Icon::Warning},
                                                             {QStringLiteral("Chybí klíč"), Icon::Warning}}));
    EXPECT_TRUE(main().sifr->isVisible()) << "a refused OK keeps the group";
}

// Engine failures mid-operation: the handler ends with the error report, the file open and unchanged.
class EngineFailures : public KeyedOperations {};

TEST_F(EngineFailures, EncryptionInAFolderThatCannotBeWritten) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const QString file = makeFile("doc.txt", 2000);
    const auto plain = testutil::bytesOf(file);
    ::chmod(dir.path().c_str(), 0555);
    encrypt(file, QStringLiteral("klíč"));
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(dialogs.errorReports().size(), 1);
    expectStillOpen(file, main().ToolButton4);
    EXPECT_EQ(testutil::bytesOf(file), plain);
}

TEST_F(EngineFailures, EncryptionThatRunsIntoTheFileSizeLimit) {
    // A limit that holds for root too: the plain file and its flag fit, the encrypted file does not.
    const QString file = makeFile("doc.txt", 20000);
    const auto plain = testutil::bytesOf(file);
    const QString probe = makeFile("probe.txt", 20000);
    QProgressBar bar;
    platform::ProgressBarPort pb(bar);
    VQ203::priznak_pridat(std::string(64, 'a'), probe.toStdString(), pb);
    const rlim_t withFlag = testutil::bytesOf(probe).size();

    struct rlimit previous {};
    ::getrlimit(RLIMIT_FSIZE, &previous);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = previous;
    limit.rlim_cur = withFlag;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    encrypt(file, QStringLiteral("klíč"));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(dialogs.errorReports().size(), 1);
    expectStillOpen(file, main().ToolButton4);
    EXPECT_EQ(testutil::bytesOf(file), plain);
    EXPECT_EQ(VQ203::desifrovatelnost(file.toStdString()), VQ203::NotEncrypted);
}

TEST_F(EngineFailures, ASizeThatIsNoNumberStopsEncryptionBeforeTheFileIsTouched) {
    const QString file = makeFile("doc.txt", 2000);
    const auto plain = testutil::bytesOf(file);
    open(file);
    main().velikost->setText(QStringLiteral("...."));  // as after a file whose length could not be read
    press(main().ToolButton4);
    type(main().Edit1, QStringLiteral("k"));
    click(main().BitBtn1);
    EXPECT_EQ(dialogs.errorReports(), QStringList{QStringLiteral("'....' is not a valid integer value.")});
    expectStillOpen(file, main().ToolButton4);
    EXPECT_EQ(testutil::bytesOf(file), plain) << "no file flag left on the plain file";
}

TEST_F(EngineFailures, DecryptionOfAFileDamagedAfterItsHeader) {
    const QString file = makeFile("doc.txt", 20000);
    encrypt(file, QStringLiteral("klíč"));
    auto damaged = testutil::bytesOf(file);
    damaged[damaged.size() - 100] ^= 0x01;
    testutil::writeFile(file.toStdString(), damaged);
    dialogs.clear();

    decrypt(file, {QStringLiteral("klíč")});
    EXPECT_EQ(dialogs.errorReports(), QStringList{QStringLiteral("Soubor je poškozen nebo změněn, soubor zůstal beze změny.")});
    expectStillOpen(file, main().ToolButton8);
    EXPECT_EQ(testutil::bytesOf(file), damaged);
}

}  // namespace
