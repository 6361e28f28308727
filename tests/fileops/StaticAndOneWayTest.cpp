// SPDX-License-Identifier: GPL-3.0-or-later
// Static and one-way encryption through the main window's toolbar, with real files and real logins.
#include <sys/stat.h>

#include <algorithm>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

#include "engine/VQ203.h"
#include "engine/core/Messages.h"
#include "platform/StatusBar.h"
#include "tests/app/ShellTestHelpers.h"
#include "tests/support/AppFixture.h"
#include "tests/support/HeldEngineCalls.h"
#include "tests/support/SmallFileSystem.h"

namespace {

using platform::Answer;
using platform::Icon;
using testutil::groupState;
using testutil::readFile;
using Group = TForm1::Group;

// The static key is 64 hexadecimal digits, so the fast question comes above 64 + 256 blocks of 128 bytes.
constexpr std::size_t kThresholdBytes = (64 + 256) * 128;

class StaticAndOneWay : public testutil::AppFixture {
protected:
    // A new run of the program in which `name` logs in.
    void runAs(const QString& name, const QString& password = QStringLiteral("heslo")) {
        app.reset();
        start();
        logIn(name, password);
        dialogs.clear();
    }

    void open(const QString& path) {
        dialogs.chooseNextFile(path);
        main().ToolButton2->trigger();
    }

    bool lastBoxIs(const QString& caption, const QString& text, Icon icon) const {
        if (dialogs.messages().empty()) return false;
        const auto& box = dialogs.messages().back();
        return box.caption == caption && box.text == text && box.icon == icon;
    }

    bool encryptedSuccessShown() const {
        return lastBoxIs(QStringLiteral("Šifrování dokončeno"), QStringLiteral("Soubor byl úspěšně šifrován."),
                         Icon::Information);
    }

    void encryptStatically(const QString& path) {
        open(path);
        main().ToolButton5->trigger();
        EXPECT_TRUE(encryptedSuccessShown());
        EXPECT_GT(VQ203::desifrovatelnost(path.toStdString()), 0);
    }

    void decryptStatically(const QString& path) {
        open(path);
        main().ToolButton9->trigger();
        EXPECT_TRUE(lastBoxIs(QStringLiteral("Dešifrování dokončeno"), QStringLiteral("Soubor byl úspěšně dešifrován."),
                              Icon::Information));
    }

    void expectResetState() const {
        EXPECT_EQ(main().sb->panelText(0), QString());
        EXPECT_EQ(main().velikost->text(), QStringLiteral("..."));
        EXPECT_EQ(main().stav->text(), QStringLiteral("..."));
        EXPECT_EQ(main().pb->value(), 0);
        EXPECT_EQ(groupState(main(), Group::Encryption), "D");
        EXPECT_EQ(groupState(main(), Group::Decryption), "D");
    }
};

TEST_F(StaticAndOneWay, FilesEncryptedInTwoRunsDecryptAfterTheSameUserLogsInAgain) {
    const QString small = makeFile("small.bin", kThresholdBytes);  // N = L + 256: no question
    const QString large = makeFile("large.bin", kThresholdBytes + 128);
    const auto smallPlain = readFile(small.toStdString());
    const auto largePlain = readFile(large.toStdString());

    runAs(QStringLiteral("Eva"));
    encryptStatically(small);
    EXPECT_EQ(dialogs.messages().size(), 1u);  // the success box alone
    EXPECT_EQ(main().stav->text(), QStringLiteral("..."));
    expectResetState();

    runAs(QStringLiteral("Eva"));
    dialogs.answerNext(Answer::Yes);  // N = L + 257: fast encryption offered and taken
    encryptStatically(large);
    EXPECT_EQ(dialogs.messages().front().caption, QStringLiteral("Otázka"));
    EXPECT_EQ(VQ203::desifrovatelnost(large.toStdString()), VQ203::Fast);

    runAs(QStringLiteral("Eva"));
    decryptStatically(small);
    EXPECT_EQ(readFile(small.toStdString()), smallPlain);
    open(large);
    EXPECT_TRUE(main().fast->isChecked());
    main().ToolButton9->trigger();
    EXPECT_FALSE(main().fast->isChecked());
    EXPECT_EQ(readFile(large.toStdString()), largePlain);
    expectResetState();
}

TEST_F(StaticAndOneWay, AnotherLoginCannotDecryptAndTheFileStaysForItsOwner) {
    const QString file = makeFile("secret.bin", 5000);
    const auto plain = readFile(file.toStdString());
    storeUser(QStringLiteral("Petr"), QStringLiteral("jine"));
    runAs(QStringLiteral("Eva"));
    encryptStatically(file);
    const auto encrypted = readFile(file.toStdString());

    // The same name with another password is another user too.
    for (const auto& [name, password] : {std::pair{"Petr", "jine"}, std::pair{"Eva", "jine"}}) {
        storeUser(QString::fromLatin1(name), QString::fromLatin1(password));
        runAs(QString::fromLatin1(name), QString::fromLatin1(password));
        open(file);
        int highest = 0;
        QObject::connect(main().pb, &QProgressBar::valueChanged, [&](int value) { highest = std::max(highest, value); });
        main().ToolButton9->trigger();
        EXPECT_EQ(highest, 0) << "the key check decides before any pass over the file";
        ASSERT_EQ(dialogs.errorReports().size(), 1u) << name;
        EXPECT_EQ(dialogs.errorReports()[0], QString::fromUtf8(engine::msg::kWrongKey) + QLatin1Char('.'));
        EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
        EXPECT_EQ(dialogs.messages().size(), 1u);  // no success box, no integrity box
        EXPECT_EQ(readFile(file.toStdString()), encrypted);
        EXPECT_EQ(main().sb->panelText(0), file);  // still open, still offered for decryption
        EXPECT_EQ(groupState(main(), Group::Decryption), "E");
        EXPECT_EQ(main().pb->value(), 0);
    }

    runAs(QStringLiteral("Eva"));
    decryptStatically(file);
    EXPECT_EQ(readFile(file.toStdString()), plain);
}

TEST_F(StaticAndOneWay, RefusedEncryptionIsReportedAndLeavesTheFileAsItWasAndOpen) {
    // A disk that holds the file and one page more, too little for its encrypted copy; the file stays below
    // the size at which fast encryption is offered.
    const std::string disk = dir.file("disk");
    ASSERT_EQ(::mkdir(disk.c_str(), 0700), 0);
    std::string why;
    const auto small = testutil::SmallFileSystem::mount(disk, 11 * 4096, why);
    if (!small) GTEST_SKIP() << why;
    const QString file = makeFile("disk/big.bin", 10 * 4096 - 100);
    const auto plain = readFile(file.toStdString());
    runAs(QStringLiteral("Eva"));
    open(file);
    main().ToolButton5->trigger();
    ASSERT_EQ(dialogs.errorReports().size(), 1u);
    EXPECT_EQ(dialogs.errorReports()[0], QString::fromUtf8(engine::msg::kDiskFull) + QLatin1Char('.'));
    EXPECT_EQ(dialogs.messages().size(), 1u);  // no success box
    EXPECT_EQ(readFile(file.toStdString()), plain);  // the flag is off again
    EXPECT_EQ(main().sb->panelText(0), file);
    EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen")) << "no running step's text left";
    EXPECT_EQ(groupState(main(), Group::Encryption), "E");
    EXPECT_EQ(main().pb->value(), 0);
}

TEST_F(StaticAndOneWay, OneWayEncryptionAsksFirstAndThenNoKeyOpensTheFile) {
    const QString file = makeFile("victim.bin", 3000);
    const auto plain = readFile(file.toStdString());
    runAs(QStringLiteral("Eva"));
    open(file);
    const auto before = testutil::stateOf(main());

    dialogs.answerNext(Answer::No);
    main().ToolButton6->trigger();
    EXPECT_TRUE(lastBoxIs(QStringLiteral("Upozornění"),
                          QStringLiteral("Opravdu chce použít jednosměrné šifrování? Soubor už zůstane nečitelný bež "
                                         "možnosti nápravy. Jakmile zničení začne, nelze ho vrátit ani zrušit: "
                                         "přerušené nechá soubor zničený jen zčásti."),
                          Icon::Question));
    EXPECT_EQ(dialogs.messages().back().buttons, platform::Buttons::YesNoDefaultNo) << "one Enter destroys nothing";
    EXPECT_EQ(readFile(file.toStdString()), plain);
    EXPECT_EQ(testutil::stateOf(main()), before);

    dialogs.answerNext(Answer::Yes);
    main().ToolButton6->trigger();
    EXPECT_TRUE(encryptedSuccessShown());
    expectResetState();
    const auto destroyed = readFile(file.toStdString());
    EXPECT_NE(destroyed, plain);
    EXPECT_EQ(destroyed.size(), plain.size());

    // Reported as not encrypted, so only encryption is offered, and no key opens it.
    open(file);
    EXPECT_EQ(groupState(main(), Group::Encryption), "E");
    EXPECT_EQ(groupState(main(), Group::Decryption), "D");
    EXPECT_LE(VQ203::desifrovatelnost(file.toStdString()), 0);
    EXPECT_NE(VQ203::passcheck(file.toStdString(), main().buffer->text().toStdString()), 1);
}

}  // namespace

// A stop at any call of a static encryption or decryption leaves the file as it was and the window as before
// the operation; a stop that comes once the decryption's result is in place is too late and it completes.
TEST_F(StaticAndOneWay, AStopAtAnyCallOfAStaticOperationLeavesTheFileAsItWas) {
    const QString file = makeFile("doc.bin", 5000);
    const auto plain = readFile(file.toStdString());
    runAs(QStringLiteral("Eva"));
    const QString cancelled = QString::fromUtf8(engine::msg::kCancelled) + QLatin1Char('.');
    const auto entries = dir.entries();
    const auto stopEachCall = [&](QAction* button, const std::vector<unsigned char>& before) -> int {
        int stopped = 0, tooLate = 0;
        for (int stopAt = 1;; ++stopAt) {
            SCOPED_TRACE(stopAt);
            testutil::writeFile(file.toStdString(), before);
            open(file);
            dialogs.clear();
            int calls = 0;
            {
                testutil::HeldEngineCalls held([&](int call) {
                    if (call == stopAt) QTest::keyClick(&main(), Qt::Key_Escape);
                });
                button->trigger();
                calls = held.calls();
            }
            if (calls < stopAt) break;
            if (readFile(file.toStdString()) == before) {
                ++stopped;
                EXPECT_EQ(dialogs.errorReports(), QStringList{cancelled});
                EXPECT_EQ(main().stav->text(), QStringLiteral("Soubor otevřen"));
                EXPECT_EQ(main().pb->value(), 0);
            } else {
                ++tooLate;
                EXPECT_TRUE(dialogs.errorReports().isEmpty()) << "the complete result, reported as such";
            }
            EXPECT_EQ(dir.entries(), entries) << "no temporary left";
            if (stopAt >= 12) {
                ADD_FAILURE() << "the calls never end";
                break;
            }
        }
        testutil::writeFile(file.toStdString(), before);  // the last run was not stopped
        EXPECT_GT(stopped, 0);
        return tooLate;
    };
    EXPECT_EQ(stopEachCall(main().ToolButton5, plain), 0) << "the encryption is the last call";
    encryptStatically(file);
    const auto encrypted = readFile(file.toStdString());
    EXPECT_GT(stopEachCall(main().ToolButton9, encrypted), 0);
}
