// Texts handed to the engine (keys, and what strtohex turns into user codes and static keys): UTF-8 in
// Unicode NFC, so that a text typed with composed or decomposed accents ("é" or "e" + "´") is the same key.
#pragma once

#include <string>

#include <QString>

namespace platform {

inline std::string engineText(const QString& text) {
    return text.normalized(QString::NormalizationForm_C).toStdString();
}

}  // namespace platform
