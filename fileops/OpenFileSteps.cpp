// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/OpenFileSteps.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QScopeGuard>

#include "app/Unit1.h"
#include "engine/Ports.h"
#include "engine/VQ201.h"
#include "engine/VQ203.h"
#include "platform/EngineCall.h"
#include "platform/EngineKey.h"

OpenFileSteps::OpenFileSteps(TForm1& window)
    : window_(window),
      path_(window.OpenDialog1.fileName().toStdString()),
      stateBefore_(window.stav->text()),
      encryptionKeysShown_(!window.sifr->isHidden()),
      decryptionKeysShown_(!window.desifr->isHidden()),
      pb_(*window.pb, *window.stav),
      windowPort_(window) {}

template <class Step>
auto OpenFileSteps::run(Step&& step) {
    try {
        // The engine's step texts show in `stav` while it works; then the handler's own text is back.
        const auto endSteps = qScopeGuard([this] { pb_.endSteps(); });
        return platform::callEngine(step);
    } catch (const engine::Cancelled&) {
        // Stopped on request: the window is back as it was before the operation, the key typed for it still
        // in its place, so that the operation can be started again at once.
        showStateBefore();
        window_.sifr->setVisible(encryptionKeysShown_);
        window_.desifr->setVisible(decryptionKeysShown_);
        throw;
    } catch (...) {
        showStateBefore();
        throw;
    }
}

void OpenFileSteps::showStateBefore() {
    // The engine left the file as it was: a half-full bar or a running step's text would say otherwise.
    window_.pb->setValue(0);
    window_.stav->setText(stateBefore_);
}

void OpenFileSteps::prepareKey(const EngineKey& key) { run([&] { VQ203::prepareKey(path_, key.utf8()); }); }

void OpenFileSteps::fingerprintInto(QLineEdit& field) {
    platform::LineEditField port(field);
    run([&] { VQ201::hash(path_, port, pb_); });
}

void OpenFileSteps::addFlag(const QString& fingerprint) {
    run([&] { VQ203::priznak_pridat(fingerprint.toStdString(), path_, pb_); });
}

void OpenFileSteps::encrypt(const EngineKey& key, bool fastMethod) {
    run([&] {
        if (fastMethod)
            VQ203::fastsifrovat(path_, key.utf8(), pb_, windowPort_);
        else
            VQ203::sifrovat(path_, key.utf8(), pb_, windowPort_);
    });
}

void OpenFileSteps::destroy() { run([&] { VQ203::sifrovat0(path_, pb_, windowPort_); }); }

bool OpenFileSteps::keyFits(const EngineKey& key) {
    return run([&] { return VQ203::passcheck(path_, key.utf8(), pb_); }) == 1;
}

void OpenFileSteps::decryptByFastMark(const EngineKey& key) {
    if (window_.fast->isChecked()) {
        run([&] { VQ203::fastdesifrovat(path_, key.utf8(), pb_, windowPort_); });
        window_.fast->setChecked(false);
    } else {
        run([&] { VQ203::desifrovat(path_, key.utf8(), pb_, windowPort_); });
    }
}

void OpenFileSteps::removeFlagInto(QLineEdit& field) {
    platform::LineEditField port(field);
    run([&] { VQ203::priznak_odebrat(port, path_, pb_); });
}

bool OpenFileSteps::fingerprintMatches(const QLineEdit& carried, QLineEdit& fresh) {
    fingerprintInto(fresh);
    return carried.text() == fresh.text();
}
