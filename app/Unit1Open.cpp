// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a single file or a folder package: from the open dialogs and from the command line.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "app/Unit1.h"
#include "engine/core/Magic.h"
#include "platform/Dialogs.h"
#include "platform/RuntimeError.h"
#include "platform/StatusBar.h"

namespace {

// As the desktop's type rule: the magic's letters, whatever version follows them. Only a plain file is
// read, so that a pipe named on the command line cannot hold the start.
bool holdsAPackage(const QString& path) {
    if (!QFileInfo(path).isFile()) return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const auto& magic = engine::core::kMagicPackage;
    const QByteArray letters(reinterpret_cast<const char*>(magic.data()), magic.size() - 1);
    return file.read(letters.size()) == letters;
}

// The desktop recognises a package by its ".cff" in any case, and by its content under any name; it then
// starts the program with it, which must not open it as a single file behind the desktop's back.
bool isPackage(const QString& path) {
    const QString name = QFileInfo(path).fileName();
    if (name.endsWith(QLatin1String(".cff"), Qt::CaseInsensitive)) return true;
    if (!holdsAPackage(path)) return false;
    return platform::dialogs().message(
               QStringLiteral("Soubor \"%1\" je podle svého obsahu balíček šifrované složky. Otevřít jej jako "
                              "balíček?").arg(name),
               QStringLiteral("Otevření souboru"), platform::Icon::Question,
               platform::Buttons::YesNo) == platform::Answer::Yes;
}

}  // namespace

QString TForm1::sizeInBlocks(const QString& path) {
    return QString::number(platform::fileLength(path) / 128);
}

void TForm1::Otevt1Click() {
    OpenDialog1.execute([this] { OpenDialog1CanClose(); });
}

void TForm1::OpenDialog1CanClose() { openFile(OpenDialog1.fileName()); }

// A failure to read the file leaves what the steps before it did: the groups and the path in panel 0.
void TForm1::openFile(const QString& path) {
    soubor_open(path);
    sb->setPanelText(0, path);
    velikost->setText(sizeInBlocks(path));
    stav->setText(QStringLiteral("Soubor otevřen"));
}

void TForm1::Souborifrovansloky1Click() {
    OpenDialog2.execute([this] { OpenDialog2CanClose(); });
}

void TForm1::OpenDialog2CanClose() { openPackage(OpenDialog2.fileName()); }

void TForm1::openPackage(const QString& path) {
    slozka_open();
    // Of the two folder operations only decryption fits a package.
    setGroupEnabled(Group::FolderEncryption, false);
    sb->setPanelText(0, path);
    velikost->setText(sizeInBlocks(path));
}

void TForm1::openCommandLineArgument() {
    if (launch_.arguments.isEmpty()) return;
    // Absolute at once: the folder windows change the working directory later.
    const QString argument = QDir::cleanPath(QDir::current().absoluteFilePath(launch_.arguments.front()));
    if (isPackage(argument)) {
        OpenDialog2.setFileName(argument);
        openPackage(argument);
    } else {
        OpenDialog1.setFileName(argument);
        openFile(argument);
    }
}
