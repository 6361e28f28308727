// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's steps on the main window's open file (the file name of OpenDialog1), made with the main
// window's own progress bar and window, each through platform::callEngine. While a call runs, `stav` shows
// the step the engine reports (and the time left), and after it the text it had before. A step the engine
// refuses sets the progress bar back to 0 and `stav` back to the text it had when the steps began, and passes
// the engine's error on, so the handler ends there and the standard error report shows it; the engine has
// then left the file as it was. A step stopped on request also shows again the key panel the steps began with.
#pragma once

#include <string>

#include <QString>

#include "platform/QtPorts.h"

class EngineKey;
class QLineEdit;
class TForm1;

class OpenFileSteps {
public:
    explicit OpenFileSteps(TForm1& window);

    const std::string& path() const { return path_; }

    // prepareKey: the engine starts deriving the encryption key, so that it is ready when encrypt needs it.
    void prepareKey(const EngineKey& key);
    // hash: the open file's fingerprint into the field.
    void fingerprintInto(QLineEdit& field);
    // priznak_pridat: the file flag carrying the fingerprint, just before encryption.
    void addFlag(const QString& fingerprint);
    // sifrovat, or fastsifrovat when `fastMethod`.
    void encrypt(const EngineKey& key, bool fastMethod);
    // sifrovat0: the file's content destroyed for good.
    void destroy();
    // passcheck: true exactly when the engine answers 1.
    bool keyFits(const EngineKey& key);
    // fastdesifrovat when the window's `fast` mark is set, which it then clears; desifrovat otherwise.
    void decryptByFastMark(const EngineKey& key);
    // priznak_odebrat: the flag off the decrypted file, its fingerprint into the field.
    void removeFlagInto(QLineEdit& field);
    // The integrity check: the decrypted file's fingerprint into `fresh`, compared exactly with the one
    // the flag carried.
    bool fingerprintMatches(const QLineEdit& carried, QLineEdit& fresh);

private:
    template <class Step>
    auto run(Step&& step);
    void showStateBefore();

    TForm1& window_;
    std::string path_;
    QString stateBefore_;
    bool encryptionKeysShown_;
    bool decryptionKeysShown_;
    platform::StepProgressPort pb_;  // the steps show in `stav`
    platform::WindowPort windowPort_;
};
