// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CzechLocale.h"

#include <clocale>
#include <optional>

#include <QApplication>
#include <QByteArray>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace platform {
namespace {

constexpr char kLocaleVariable[] = "LC_ALL";  // the one that overrides all the others
constexpr char kCzech[] = "cs_CZ.UTF-8";

// The session's LC_ALL while Qt reads the Czech one; nothing once it is given back.
std::optional<QByteArray> sessionLocale;

// Texts Qt shows that its own Czech translation leaves out.
class MissingCzechTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return {};
        if (qstrcmp(source, "Folder") == 0) return QStringLiteral("Složka");
        if (qstrcmp(source, "Drive") == 0) return QStringLiteral("Disk");
        if (qstrcmp(source, "Shortcut") == 0 || qstrcmp(source, "Alias") == 0) return QStringLiteral("Odkaz");
        return {};
    }
};

}  // namespace

void prepareCzechSystemLocale() {
    // The C library takes the session's locale now; when Qt asks it again under the Czech environment and
    // the system has no Czech C locale, the request fails and this one stays.
    std::setlocale(LC_ALL, "");
    sessionLocale = qgetenv(kLocaleVariable);
    qputenv(kLocaleVariable, kCzech);
}

void speakCzech(QApplication& app) {
    if (sessionLocale) {
        (void)QLocale::system();  // read now, while the environment says Czech; Qt keeps it
        if (sessionLocale->isEmpty())
            qunsetenv(kLocaleVariable);
        else
            qputenv(kLocaleVariable, *sessionLocale);
        sessionLocale.reset();
    }
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtTexts);
    else
        delete qtTexts;
    // Installed last, asked first: it answers only what the translation lacks.
    QApplication::installTranslator(new MissingCzechTexts(&app));
}

}  // namespace platform
