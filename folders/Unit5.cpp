// SPDX-License-Identifier: GPL-3.0-or-later
#include "folders/Unit5.h"

#include <system_error>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/Tumbler.h"
#include "engine/VQ202.h"
#include "folders/IntHash.h"
#include "folders/TreeContents.h"
#include "platform/Dialogs.h"
#include "platform/EngineCall.h"
#include "platform/ErrorReport.h"
#include "platform/FileListBox.h"
#include "platform/KeptKey.h"
#include "platform/QtPorts.h"
#include "platform/RuntimeError.h"
#include "platform/Style.h"
#include "platform/WidgetKit.h"

TForm5::TForm5()
    : ToolWindow(QStringLiteral("Šifrování složky"), QSize(466, 268), QStringLiteral(":/window-background.jpg")),
      parts_(buildFolderWindowParts(*this, {"Label7", QStringLiteral("Stav šifrování souboru :"), "Label6", false})) {
    setObjectName(QStringLiteral("Form5"));
    platform::centreOn(*this, nullptr);
    Image1 = background();

    slozka = folderWindowLabel(*this, "slozka", QStringLiteral("...."), 70, 8, 388);
    Label1 = folderWindowLabel(*this, "Label1", QStringLiteral("Složka :"), 8, 8, 60, slozka);
    const KeyGroup keyGroup = buildKeyGroup(*this, QStringLiteral("Šifrovat se zadáním klíče"),
                                            QStringLiteral("Šifrovací klíč"),
                                            QStringLiteral("Zašifruje složku zadaným klíčem do balíčku složky"));
    gb = keyGroup.gb;
    Label3 = keyGroup.Label3;
    BitBtn1 = keyGroup.BitBtn1;
    Button1 = platform::makeButton(gb, "Button1", QStringLiteral("&Gen>>"), {8, 40, 46, 21},
                                   QStringLiteral("Vyplní klíč nově vygenerovaným klíčem"));
    Edit1 = platform::makeField(gb, "Edit1", {58, 40, 300, 21}, QStringLiteral("Šifrovací klíč"),
                                QStringLiteral("Klíč, kterým se složka zašifruje"));
    Label3->setBuddy(Edit1);
    keptKey_ = new platform::KeptKey({Edit1}, this);

    Label2 = parts_.Label2;
    soubor = parts_.soubor;
    Label7 = parts_.barCaption;
    pbf = parts_.pbf;
    GroupBox1 = parts_.GroupBox1;
    Label6 = parts_.statusCaption;
    status = parts_.status;
    Label4 = parts_.Label4;
    pb2 = parts_.pb2;
    Label5 = parts_.Label5;
    pb1 = parts_.pb1;
    HashEdit = parts_.HashEdit;
    ErrorMsg = parts_.ErrorMsg;
    FileListBox = parts_.FileListBox;
    OneWay = platform::named(new QCheckBox(QStringLiteral("OneWay"), this), "OneWay");
    OneWay->hide();

    connect(Edit1, &QLineEdit::textChanged, this, platform::guarded(this, &TForm5::Edit1Change));
    connect(Button1, &QPushButton::clicked, this, platform::guarded(this, &TForm5::Button1Click));
    connect(BitBtn1, &QPushButton::clicked, this, platform::guarded(this, &TForm5::BitBtn1Click));
}

void TForm5::Edit1Change() {
    if (!Edit1->text().isEmpty()) BitBtn1->setEnabled(true);
}

// "Gen>>" fills the key field as the main window's key buttons do.
void TForm5::Button1Click() {
    platform::LineEditField field(*Edit1);
    platform::callEngine([&] { Tumbler::key(1, field); });
}

// With subfolders the user chooses before anything is written: the whole tree (Ano), the files at the
// top alone, the subfolders staying as they are (Ne), or nothing (Zrušit).
TForm5::Scope TForm5::askScope() const {
    const Subfolders below = subfoldersOf(slozka->text());
    if (below.folders == 0) return Scope::Top;
    switch (platform::dialogs().message(subfoldersQuestion(below), QStringLiteral("Šifrování složky"),
                                        platform::Icon::Question, platform::Buttons::YesNoCancel)) {
    case platform::Answer::Yes: return Scope::WholeTree;
    case platform::Answer::No: return Scope::Top;
    default: return Scope::Nothing;
    }
}

void TForm5::BitBtn1Click() {
    const Scope scope = askScope();
    if (scope == Scope::Nothing) return;
    const QString key = Edit1->text();
    const QString package = slozka->text() + QStringLiteral("/directory.cff");
    // Counted before the package joins the folder.
    const bool wholeTree = scope == Scope::WholeTree;
    const int leftOut = wholeTree ? 0 : FileListBox->leftOutCount();
    const QStringList leftOutBelow = wholeTree ? leftOutOfTree(slozka->text()) : QStringList();
    callFolderLibrary(&VQ202::sifrdir, package, *this, parts_, key, wholeTree);
    // A failure is told instead of the success, and the window stays open so the key can be corrected.
    if (!ErrorMsg->text().isEmpty()) {
        platform::tell(QStringLiteral("Chyba"), ErrorMsg->text(), platform::Icon::Error);
        return;
    }
    platform::tell(QStringLiteral("Šifrování dokončeno"),
                   wholeTree ? treeEncryptedText(leftOutBelow) : folderEncryptedText(leftOut),
                   platform::Icon::Information);
    hide();
}

QString folderEncryptedText(int leftOut) {
    const QString done = QStringLiteral("Šifrování složky bylo úspěšně provedeno.");
    if (leftOut <= 0) return done;
    const QString why = QStringLiteral("podsložky, skryté soubory, odkazy a jména s řídicími znaky se nešifrují.");
    if (leftOut == 1) return done + QStringLiteral(" 1 položka složky zůstala nešifrována: ") + why;
    if (leftOut <= 4) return done + QStringLiteral(" %1 položky složky zůstaly nešifrovány: ").arg(leftOut) + why;
    return done + QStringLiteral(" %1 položek složky zůstalo nešifrováno: ").arg(leftOut) + why;
}

QString treeEncryptedText(const QStringList& leftOut) {
    QString text = folderEncryptedText(0);
    if (leftOut.isEmpty()) return text;
    constexpr int kShown = 10;
    text += QStringLiteral(" Odkazy, zvláštní a skryté soubory a jména s řídicími znaky se nešifrují; zůstalo "
                           "nešifrováno: ") + QStringList(leftOut.mid(0, kShown)).join(QStringLiteral(", "));
    if (leftOut.size() > kShown) text += QStringLiteral(", … (celkem %1)").arg(leftOut.size());
    return text + QStringLiteral(".");
}

void TForm5::IntHash(const std::string& fileName, std::string& hash) {
    try {
        ::IntHash(fileName, hash);
    } catch (const std::system_error& error) {
        throw platform::fileError(error.code().value());
    }
}

void TForm5::showForKey() {
    showInFront();
    keptKey_->offer();
}
