// SPDX-License-Identifier: GPL-3.0-or-later
// A key as the engine receives it: UTF-8 in Unicode NFC, so that the same typed key gives the same bytes
// whatever the keyboard or the system composed. Every handler that hands a key to the engine makes it here.
#pragma once

#include <string>

#include <QString>

class EngineKey {
public:
    explicit EngineKey(const QString& typed);
    ~EngineKey();
    EngineKey(const EngineKey&) = delete;
    EngineKey& operator=(const EngineKey&) = delete;

    const std::string& utf8() const { return utf8_; }
    // The key's length in characters (code points of the NFC form), as the fast-encryption threshold counts it.
    qsizetype length() const { return length_; }
    bool empty() const { return utf8_.empty(); }

private:
    std::string utf8_;
    qsizetype length_ = 0;
};
