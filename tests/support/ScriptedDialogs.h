// SPDX-License-Identifier: GPL-3.0-or-later
// A scripted stand-in for every dialog: records what was shown and answers as the test said beforehand.
// Installed for its lifetime; no test ever blocks on a modal dialog.
//
//   testutil::ScriptedDialogs dialogs;
//   dialogs.answerNext(platform::Answer::Yes);         // the next question box
//   dialogs.chooseNextFile("/tmp/a.txt");              // the next open dialog: the user confirms this name
//   dialogs.inputNext(QStringLiteral("jan"));          // the next input box (std::nullopt: Cancel)
//   ... drive the window ...
//   EXPECT_EQ(dialogs.errorReports(), QStringList{"File not found."});
//
// A question, input box or open dialog with no answer scripted fails the test (and is answered No /
// Cancel); an answer still queued when the double goes away fails it too.
#pragma once

#include <deque>
#include <optional>
#include <vector>

#include <QStringList>

#include "platform/Dialogs.h"

namespace testutil {

struct ShownMessage {
    QString text;
    QString caption;
    platform::Icon icon;
    platform::Buttons buttons;
};

struct ShownInput {
    QString caption;
    QString prompt;
    QString initial;
    platform::Echo echo;
};

class ScriptedDialogs : public platform::Dialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void answerNext(platform::Answer answer) { answers_.push_back(answer); }
    void inputNext(std::optional<QString> text) { inputs_.push_back(std::move(text)); }
    void chooseNextFile(const QString& fileName) { files_.push_back(fileName); }
    void cancelNextOpen() { files_.push_back(std::nullopt); }

    const std::vector<ShownMessage>& messages() const { return messages_; }
    const std::vector<ShownInput>& inputBoxes() const { return inputBoxes_; }
    const std::vector<platform::OpenFileOptions>& openDialogs() const { return openDialogs_; }
    // The texts of the standard error reports shown so far.
    QStringList errorReports() const;
    void clear();

    platform::Answer message(const QString& text, const QString& caption, platform::Icon icon,
                             platform::Buttons buttons) override;
    std::optional<QString> input(const QString& caption, const QString& prompt, const QString& initial,
                                 platform::Echo echo) override;
    std::optional<QString> openFile(const platform::OpenFileOptions& options,
                                    const platform::CanClose& canClose) override;

private:
    std::deque<platform::Answer> answers_;
    std::deque<std::optional<QString>> inputs_;
    std::deque<std::optional<QString>> files_;
    std::vector<ShownMessage> messages_;
    std::vector<ShownInput> inputBoxes_;
    std::vector<platform::OpenFileOptions> openDialogs_;
};

}  // namespace testutil
