// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/NewUserRules.h"

#include <algorithm>

namespace users {
namespace {

// Line and paragraph separators break a line as much as the control characters do.
bool isControl(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

bool hasControl(const QString& text) { return std::any_of(text.begin(), text.end(), isControl); }

}  // namespace

std::optional<QString> nameRefusal(const QString& name) {
    if (hasControl(name))
        return QStringLiteral("Jméno uživatele nesmí obsahovat konec řádku, tabulátor ani jiný řídicí znak.");
    if (name.contains(QLatin1Char('#'))) return QStringLiteral("Jméno uživatele nesmí obsahovat znak #.");
    if (name.startsWith(QLatin1Char(' ')) || name.endsWith(QLatin1Char(' ')))
        return QStringLiteral("Jméno uživatele nesmí začínat ani končit mezerou.");
    return std::nullopt;
}

std::optional<QString> passwordRefusal(const QString& password) {
    if (hasControl(password))
        return QStringLiteral("Heslo nesmí obsahovat konec řádku, tabulátor ani jiný řídicí znak.");
    return std::nullopt;
}

}  // namespace users
