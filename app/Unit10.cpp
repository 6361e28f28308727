// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Unit10.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "app/Maker.h"
#include "platform/Installation.h"
#include "platform/WidgetKit.h"

TForm10::TForm10() : ToolWindow(QStringLiteral("Mivex"), QSize(422, 216), QStringLiteral(":/about-background.jpg")) {
    setObjectName(QStringLiteral("Form10"));
    setFont(QFont(QStringLiteral("Tahoma")));
    move(0, 0);
    Image1 = background();

    version = new QLabel(QStringLiteral("verze %1BETA").arg(QLatin1String(platform::installation::kVersion)), this);
    version->setObjectName(QStringLiteral("version"));
    version->setGeometry(20, 74, 200, 18);
    QFont versionFont(QStringLiteral("DejaVu Sans"));
    versionFont.setPixelSize(13);
    version->setFont(versionFont);
    QPalette palette = version->palette();
    palette.setColor(QPalette::WindowText, QColor(0x2a, 0x6a, 0x6a));
    version->setPalette(palette);

    Memo1 = platform::named(new QPlainTextEdit(this), "Memo1");
    platform::describe(*Memo1, QStringLiteral("O programu"), QStringLiteral("Adresa a výrobce programu Mivex 2"));
    Memo1->setGeometry(160, 104, 254, 104);
    Memo1->setReadOnly(true);
    Memo1->setFrameStyle(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont bold(QStringLiteral("Tahoma"));
    bold.setBold(true);
    Memo1->setFont(bold);
    Memo1->viewport()->setAutoFillBackground(false);
    // Black on the pale picture whatever the desktop palette: a style sheet does not take the window's palette.
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; color: black; }"));
    Memo1->setPlainText(QStringList{QString(), QString(), QString::fromUtf8(maker::kWebAddress),
                                    QString::fromUtf8(maker::kNameAndYears), QString::fromUtf8(maker::kLicence),
                                    QString()}
                            .join(QLatin1Char('\n')));
}
