#include "platform/Style.h"

#include <QApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include "platform/ErrorReport.h"

namespace platform {

int PasswordBarStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                QStyleHintReturn* returnData) const {
    if (hint == SH_LineEdit_PasswordCharacter) return '|';
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

bool installCzechQtTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    QApplication::setStyle(new PasswordBarStyle);
    installCzechQtTranslation(app);
}

void makeCaptionLabel(QLabel& label) {
    QFont font = label.font();
    font.setBold(true);
    label.setFont(font);
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x80));
    label.setPalette(palette);
    label.setAutoFillBackground(false);
    label.setAttribute(Qt::WA_TranslucentBackground);
}

void centreOn(QWidget& window, const QWidget* over) {
    const QRect area = over ? over->frameGeometry() : window.screen()->availableGeometry();
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

}  // namespace platform
