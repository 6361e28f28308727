// SPDX-License-Identifier: GPL-3.0-or-later
// The open file's fingerprint, shown in the fingerprint window; the file and the window's state stay as they are.
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScopeGuard>

#include "app/Forms.h"
#include "app/Unit1.h"
#include "engine/VQ201.h"
#include "fileops/ShowOverMain.h"
#include "fileops/Unit4.h"
#include "platform/EngineCall.h"
#include "platform/QtPorts.h"

void TForm1::Vytvoithashsouboru1Click() {
    TForm4& window = *forms().Form4;
    showOverMain(window, *this);
    platform::LineEditField field(*window.Edit1);
    const std::string path = OpenDialog1.fileName().toStdString();
    // The main window's bar and state show how the fingerprint gets on, and are as they were afterwards.
    platform::StepProgressPort progress(*pb, *stav);
    const auto restore = qScopeGuard([this, &progress, position = pb->value()] {
        progress.endSteps();
        pb->setValue(position);
    });
    platform::callEngine([&] { VQ201::hash(path, field, progress); });
    window.Edit1->home(false);
}

void TForm1::ToolButton21Click() { Vytvoithashsouboru1Click(); }
