// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/FolderWindowParts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "platform/EngineCall.h"
#include "platform/EngineKey.h"
#include "platform/FileListBox.h"
#include "platform/QtPorts.h"
#include "platform/StopButton.h"
#include "platform/WidgetKit.h"

namespace {

QProgressBar* bar(QWidget& parent, const char* name, QRect bounds, const QString& spokenName) {
    return platform::makeProgressBar(&parent, name, bounds, spokenName, spokenName);
}

}  // namespace

QLabel* folderWindowLabel(QWidget& parent, const char* name, const QString& text, int x, int y, int width,
                          QWidget* buddy) {
    return platform::makeCaptionLabel(&parent, name, text, {x, y, width, 16}, buddy);
}

FolderWindowParts buildFolderWindowParts(QWidget& window, const FolderWindowLayout& layout) {
    FolderWindowParts parts;
    parts.soubor = folderWindowLabel(window, "soubor", QString(), 70, 104, 388);
    parts.Label2 = folderWindowLabel(window, "Label2", QStringLiteral("Soubor :"), 8, 104, 60, parts.soubor);
    parts.pbf = bar(window, "pbf", {8, 142, 450, 17}, QStringLiteral("Průběh zpracování souboru"));
    parts.pbf->setStyleSheet(QStringLiteral("QProgressBar::chunk { width: 8px; margin: 1px; }"));  // segmented
    parts.barCaption =
        folderWindowLabel(window, layout.barCaptionName, layout.barCaptionText, 8, 124, 250, parts.pbf);

    parts.GroupBox1 = platform::named(new QGroupBox(&window), "GroupBox1");
    parts.GroupBox1->setGeometry(8, 166, 450, 94);
    QWidget& box = *parts.GroupBox1;
    platform::describe(box, QStringLiteral("Balíček složky"), QStringLiteral("Průběh zápisu balíčku složky"));
    parts.status = folderWindowLabel(box, "status", QString(), 70, 12, 372);
    parts.statusCaption =
        folderWindowLabel(box, layout.statusCaptionName, QStringLiteral("Status  :"), 8, 12, 60, parts.status);
    const QRect left{8, 58, 200, 17}, right{240, 58, 202, 17};
    parts.pb1 = bar(box, "pb1", layout.pb1OnTheLeft ? left : right, QStringLiteral("Podíl hotových souborů"));
    parts.pb2 = bar(box, "pb2", layout.pb1OnTheLeft ? right : left, QStringLiteral("Podíl hotových bajtů balíčku"));
    parts.Label4 = folderWindowLabel(box, "Label4", QStringLiteral("Balíček složky :"), 8, 36, 200,
                                     layout.pb1OnTheLeft ? parts.pb1 : parts.pb2);
    parts.Label5 = folderWindowLabel(box, "Label5", QStringLiteral("<<"), 216, 58, 20);
    platform::makeStopButton(&box, {382, 32, 60, 22});  // beside the package's bars, while the work runs

    parts.HashEdit = platform::makeHiddenField(&window, "HashEdit");
    parts.ErrorMsg = platform::makeHiddenField(&window, "ErrorMsg");
    parts.FileListBox = platform::named(new platform::FileListBox(&window), "FileListBox");
    parts.FileListBox->hide();
    return parts;
}

KeyGroup buildKeyGroup(QWidget& window, const QString& caption, const QString& keyCaption, const QString& okDescription) {
    KeyGroup group;
    group.gb = platform::named(new QGroupBox(caption, &window), "gb");
    group.gb->setGeometry(8, 28, 450, 70);
    group.Label3 = platform::makeLabel(group.gb, "Label3", keyCaption, {8, 20, 200, 14});
    group.BitBtn1 = platform::makeDefaultButton(window, group.gb, "BitBtn1", QStringLiteral("&OK"), {366, 38, 75, 25},
                                                okDescription);
    group.BitBtn1->setEnabled(false);
    return group;
}

void callFolderLibrary(FolderExport call, const QString& packagePath, QWidget& window,
                       const FolderWindowParts& parts, const QString& key, bool wholeTree) {
    platform::LineEditField hashEdit(*parts.HashEdit), errorMsg(*parts.ErrorMsg);
    platform::FileListPort files(*parts.FileListBox, wholeTree);
    platform::ProgressBarPort pb1(*parts.pb1), pb2(*parts.pb2), pbf(*parts.pbf);
    platform::LabelPort soubor(*parts.soubor), status(*parts.status);
    platform::WindowPort windowPort(window);
    const EngineKey engineKey(key);
    const std::string package = packagePath.toStdString();
    platform::callEngine([&] {
        call(package, hashEdit, files, errorMsg, pb1, pb2, pbf, soubor, status, windowPort, engineKey.utf8());
    });
}
