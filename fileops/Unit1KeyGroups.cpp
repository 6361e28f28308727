// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's two key groups: showing them, the enabling cascade as the user types, the "Gen>>"
// buttons; and the key generator window. Both OK buttons are default buttons: Enter presses the visible one.
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "engine/Tumbler.h"
#include "fileops/ShowOverMain.h"
#include "fileops/Unit3.h"
#include "platform/EngineCall.h"
#include "platform/ErrorReport.h"
#include "platform/KeptKey.h"
#include "platform/QtPorts.h"

namespace {

// Emptying the field is itself a change, so the next field's handler runs in turn.
void followFirstPart(const QLineEdit& part, std::initializer_list<QWidget*> dependents, QLineEdit& next) {
    const bool filled = !part.text().isEmpty();
    for (QWidget* dependent : dependents) dependent->setEnabled(filled);
    if (!filled) next.clear();
}

void generateInto(QLineEdit& field) {
    platform::LineEditField port(field);
    platform::callEngine([&] { Tumbler::key(1, port); });
}

}  // namespace

void TForm1::connectKeyGroups() {
    encryptionKey_ = new platform::KeptKey({Edit1, Edit2, Edit3}, this);
    decryptionKey_ = new platform::KeptKey({edit4, edit5, edit6}, this);
    connect(Edit1, &QLineEdit::textChanged, this, platform::guarded(this, &TForm1::Edit1Change));
    connect(Edit2, &QLineEdit::textChanged, this, platform::guarded(this, &TForm1::Edit2Change));
    connect(edit4, &QLineEdit::textChanged, this, platform::guarded(this, &TForm1::edit4Change));
    connect(edit5, &QLineEdit::textChanged, this, platform::guarded(this, &TForm1::edit5Change));
    connect(Button1, &QPushButton::clicked, this, platform::guarded(this, &TForm1::Button1Click));
    connect(Button2, &QPushButton::clicked, this, platform::guarded(this, &TForm1::Button2Click));
    connect(Button3, &QPushButton::clicked, this, platform::guarded(this, &TForm1::Button3Click));
    connect(BitBtn1, &QPushButton::clicked, this, platform::guarded(this, &TForm1::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, platform::guarded(this, &TForm1::BitBtn2Click));
}

// The group that appears takes the keyboard at its first key part, with the last key selected.
void TForm1::ifrovat1Click() {
    desifr->hide();
    sifr->show();
    encryptionKey_->offer();
}

void TForm1::Deifrovat1Click() {
    desifr->show();
    sifr->hide();
    decryptionKey_->offer();
}

void TForm1::Edit1Change() { followFirstPart(*Edit1, {Edit2, Button2, BitBtn1}, *Edit2); }

void TForm1::Edit2Change() { followFirstPart(*Edit2, {Edit3, Button3}, *Edit3); }

void TForm1::edit4Change() { followFirstPart(*edit4, {edit5, BitBtn2}, *edit5); }

void TForm1::edit5Change() { followFirstPart(*edit5, {edit6}, *edit6); }

void TForm1::Button1Click() { generateInto(*Edit1); }

void TForm1::Button2Click() { generateInto(*Edit2); }

void TForm1::Button3Click() { generateInto(*Edit3); }

void TForm1::Generovatkl1Click() { showOverMain(*forms().Form3, *this); }
