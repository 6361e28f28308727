// Opening a single file or a folder package: from the open dialogs and from the command line.
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include "app/Unit1.h"
#include "platform/RuntimeError.h"
#include "platform/StatusBar.h"

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
    const QString name = QFileInfo(argument).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    if (extension == QLatin1String(".cff")) {
        OpenDialog2.setFileName(argument);
        openPackage(argument);
    } else {
        OpenDialog1.setFileName(argument);
        openFile(argument);
    }
}
