// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include "platform/ErrorReport.h"

namespace testutil {

ScriptedDialogs::ScriptedDialogs() { platform::setDialogs(this); }

ScriptedDialogs::~ScriptedDialogs() {
    platform::setDialogs(nullptr);
    EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) never asked for";
    EXPECT_TRUE(inputs_.empty()) << inputs_.size() << " scripted input(s) never asked for";
    EXPECT_TRUE(files_.empty()) << files_.size() << " scripted open dialog(s) never shown";
}

QStringList ScriptedDialogs::errorReports() const {
    QStringList texts;
    for (const ShownMessage& shown : messages_)
        if (shown.icon == platform::Icon::Error && shown.caption == QLatin1String(platform::kApplicationTitle))
            texts << shown.text;
    return texts;
}

void ScriptedDialogs::clear() { messages_.clear(), inputBoxes_.clear(), openDialogs_.clear(); }

platform::Answer ScriptedDialogs::message(const QString& text, const QString& caption, platform::Icon icon,
                                          platform::Buttons buttons) {
    messages_.push_back({text, caption, icon, buttons});
    if (buttons == platform::Buttons::Ok) return platform::Answer::Ok;
    if (answers_.empty()) {
        ADD_FAILURE() << "unscripted question: " << caption.toStdString() << ": " << text.toStdString();
        return platform::Answer::No;
    }
    const platform::Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::input(const QString& caption, const QString& prompt, const QString& initial,
                                              platform::Echo echo) {
    inputBoxes_.push_back({caption, prompt, initial, echo});
    if (inputs_.empty()) {
        ADD_FAILURE() << "unscripted input box: " << caption.toStdString();
        return std::nullopt;
    }
    auto answer = inputs_.front();
    inputs_.pop_front();
    if (answer) answer->truncate(255);
    return answer;
}

std::optional<QString> ScriptedDialogs::openFile(const platform::OpenFileOptions& options,
                                                 const platform::CanClose& canClose) {
    openDialogs_.push_back(options);
    if (files_.empty()) {
        ADD_FAILURE() << "unscripted open dialog: " << options.title.toStdString();
        return std::nullopt;
    }
    const auto chosen = files_.front();
    files_.pop_front();
    if (!chosen) return std::nullopt;
    // The user keeps confirming the same name for as long as the hook refuses it; once is enough here.
    if (!canClose(*chosen)) ADD_FAILURE() << "the open dialog refused " << chosen->toStdString();
    return chosen;
}

}  // namespace testutil
