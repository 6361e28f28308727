// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the main window's state the way a user sees it: which entries and buttons are enabled,
// and what the labels and panel 0 say.
#pragma once

#include <map>
#include <string>

#include <QAction>
#include <QCheckBox>
#include <QLabel>

#include "app/Unit1.h"
#include "platform/StatusBar.h"

namespace testutil {

inline bool enabled(const TForm1& window, const char* name) {
    const auto* action = window.findChild<QAction*>(QString::fromLatin1(name));
    if (!action) {
        ADD_FAILURE() << "no entry or button named " << name;
        return false;
    }
    return action->isEnabled();
}

// Every named entry and button with its enabled state, and the texts, for comparing whole states.
inline std::map<std::string, std::string> stateOf(const TForm1& window) {
    std::map<std::string, std::string> state;
    for (const QAction* action : window.findChildren<QAction*>())
        if (!action->objectName().isEmpty()) state[action->objectName().toStdString()] = action->isEnabled() ? "E" : "D";
    state["panel0"] = window.sb->panelText(0).toStdString();
    state["velikost"] = window.velikost->text().toStdString();
    state["stav"] = window.stav->text().toStdString();
    state["fast"] = window.fast->isChecked() ? "checked" : "unchecked";
    return state;
}

// The five groups of the state rules, as lists of their menu entries and toolbar buttons.
inline const std::map<TForm1::Group, std::vector<const char*>>& groupMembers() {
    static const std::map<TForm1::Group, std::vector<const char*>> members{
        {TForm1::Group::Encryption,
         {"ifrovnsezadnmkle1", "Statickifrovn1", "Jednosmrnifrovn1", "ToolButton4", "ToolButton5", "ToolButton6"}},
        {TForm1::Group::Decryption,
         {"Deifrovnsezadnmkle1", "Statickdeifrovn1", "VQ1041", "VQ1051", "VQ1061", "VQ20101", "ToolButton8",
          "ToolButton9", "ToolButton13", "ToolButton14", "ToolButton15", "ToolButton19"}},
        {TForm1::Group::Fingerprint, {"Vytvoithashsouboru1", "ToolButton21"}},
        {TForm1::Group::FolderEncryption, {"Sloku1", "ToolButton11"}},
        {TForm1::Group::PackageDecryption, {"Sloku4", "ToolButton20"}},
    };
    return members;
}

// "E", "D", or "mixed" for a group.
inline std::string groupState(const TForm1& window, TForm1::Group group) {
    int on = 0;
    const auto& names = groupMembers().at(group);
    for (const char* name : names) on += enabled(window, name) ? 1 : 0;
    if (on == 0) return "D";
    return on == static_cast<int>(names.size()) ? "E" : "mixed";
}

}  // namespace testutil
