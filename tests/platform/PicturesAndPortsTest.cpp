// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>

#include "platform/FileListBox.h"
#include "platform/Jpeg.h"
#include "platform/QtPorts.h"
#include "platform/Style.h"
#include "tests/engine/TempDir.h"

namespace {

QByteArray resource(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

TEST(Jpeg, DecodesOurBackgroundsAtTheirSizes) {
    const QImage main = platform::decodeJpeg(resource(QStringLiteral(":/main-background.jpg")));
    EXPECT_EQ(main.size(), QSize(540, 243));
    const QImage about = platform::loadJpeg(QStringLiteral(":/about-background.jpg"));
    EXPECT_EQ(about.size(), QSize(425, 218));
    // A light picture: the teal labels must stay readable on it.
    EXPECT_GT(qGray(main.pixel(10, 10)), 180);
}

TEST(Jpeg, RejectsWhatIsNoJpeg) {
    EXPECT_TRUE(platform::decodeJpeg({}).isNull());
    EXPECT_TRUE(platform::decodeJpeg(QByteArray(1000, 'x')).isNull());
    const QByteArray png = resource(QStringLiteral(":/toolbar/key.png"));
    EXPECT_TRUE(platform::decodeJpeg(png).isNull());
    EXPECT_TRUE(platform::loadJpeg(QStringLiteral("/nonexistent.jpg")).isNull());
    // Only the header: no picture to show.
    EXPECT_TRUE(platform::decodeJpeg(resource(QStringLiteral(":/main-background.jpg")).left(20)).isNull());
}

// Our background with the size in its frame header changed, as a hostile file could state it.
QByteArray backgroundClaimingSize(quint16 width, quint16 height) {
    QByteArray jpeg = resource(QStringLiteral(":/main-background.jpg"));
    for (qsizetype i = 0; i + 8 < jpeg.size(); ++i) {
        const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && marker >= 0xC0 && marker <= 0xC2) {
            jpeg[i + 5] = static_cast<char>(height >> 8), jpeg[i + 6] = static_cast<char>(height & 0xFF);
            jpeg[i + 7] = static_cast<char>(width >> 8), jpeg[i + 8] = static_cast<char>(width & 0xFF);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

TEST(Jpeg, RefusesAPictureLargerThanAnyWeShowBeforeAllocatingIt) {
    // 60000 x 60000 would be a 10 GB image allocated before the first line is read.
    EXPECT_TRUE(platform::decodeJpeg(backgroundClaimingSize(60000, 60000)).isNull());
    EXPECT_TRUE(platform::decodeJpeg(backgroundClaimingSize(16385, 10)).isNull());
    // Within the bounds the same lie only gives a picture of damaged lines.
    EXPECT_EQ(platform::decodeJpeg(backgroundClaimingSize(600, 300)).size(), QSize(600, 300));
}

TEST(Ports, TextFieldRunsTheChangeHandlerAsTypingWould) {
    QLineEdit field;
    QStringList changes;
    QObject::connect(&field, &QLineEdit::textChanged, [&](const QString& text) { changes << text; });
    platform::LineEditField port(field);
    port.setText("žluťoučký");
    EXPECT_EQ(changes, QStringList{QStringLiteral("žluťoučký")});
    EXPECT_EQ(port.text(), "žluťoučký");
}

TEST(Ports, ProgressBarKeepsToItsRange) {
    QProgressBar bar;
    bar.setRange(0, 100);
    platform::ProgressBarPort port(bar);
    port.setPosition(40);
    EXPECT_EQ(bar.value(), 40);
    port.setPosition(250);
    EXPECT_EQ(bar.value(), 100);
    port.setPosition(-3);
    EXPECT_EQ(bar.value(), 0);
}

TEST(Ports, FileListHoldsTheFolderPlainVisibleFilesSortedIgnoringCase) {
    testutil::TempDir dir;
    for (const char* name : {"b.txt", "A.txt", "c", ".hidden", "directory.cff", "line\nbreak", "del\x7f"})
        testutil::writeFile(dir.file(name), {1});
    QDir().mkdir(QString::fromStdString(dir.file("sub")));
    testutil::writeFile(dir.file("sub/inner"), {1});
    const QString before = QDir::currentPath();
    platform::FileListBox list;
    list.setDirectory(QString::fromStdString(dir.path()));
    platform::FileListPort port(list);
    EXPECT_EQ(port.folder(), dir.path());
    EXPECT_EQ(port.fileNames(), (std::vector<std::string>{"A.txt", "b.txt", "c", "directory.cff"}));
    EXPECT_EQ(QDir::currentPath(), QDir(QString::fromStdString(dir.path())).canonicalPath());
    QDir::setCurrent(before);
}

TEST(Style, QtsOwnButtonsSpeakCzech) {
    // Loaded once by the test main, as by the program.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ano"));
}

TEST(Style, DatesAndTheFileDialogsTextsAreCzechInASessionThatIsNot) {
    // The test main starts in a session whose locale is C.UTF-8, as the program may be started.
    const QDateTime moment(QDate(2026, 12, 9), QTime(7, 14));
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    EXPECT_EQ(QLocale().language(), QLocale::Czech);
    // The file dialog writes its dates and sizes in the system locale.
    EXPECT_EQ(QLocale::system().toString(moment, QLocale::ShortFormat), czech.toString(moment, QLocale::ShortFormat));
    EXPECT_EQ(QLocale::system().formattedDataSize(2048), czech.formattedDataSize(2048));
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms"),
              QStringLiteral("Složka"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "&Open"), QStringLiteral("&Otevřít"));
    // Programs started from here get the session's own locale.
    EXPECT_EQ(qgetenv("LC_ALL"), QByteArray("C.UTF-8"));
}

TEST(Style, PasswordFieldsShowBars) {
    platform::PasswordBarStyle style;
    EXPECT_EQ(style.styleHint(QStyle::SH_LineEdit_PasswordCharacter), '|');
    QLineEdit field;
    field.setEchoMode(QLineEdit::Password);
    EXPECT_EQ(field.style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, &field), '|');
}

}  // namespace
