// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EngineKey.h"

#include <openssl/crypto.h>

namespace {

qsizetype codePoints(const QString& text) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size(); ++i, ++count)
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
    return count;
}

}  // namespace

EngineKey::EngineKey(const QString& typed) {
    const QString composed = typed.normalized(QString::NormalizationForm_C);
    QByteArray bytes = composed.toUtf8();
    utf8_.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    OPENSSL_cleanse(bytes.data(), static_cast<std::size_t>(bytes.size()));
    length_ = codePoints(composed);
}

EngineKey::~EngineKey() {
    if (!utf8_.empty()) OPENSSL_cleanse(utf8_.data(), utf8_.size());
}
