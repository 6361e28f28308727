#include "platform/Style.h"

#include <QApplication>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>

#include "platform/ErrorReport.h"
#include "platform/Installation.h"

namespace platform {
namespace {

// The application icon in every size it is drawn in.
QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/mivex2-%1.png").arg(size), QSize(size, size));
    return icon;
}

}  // namespace

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
    // The window system matches the windows to the installed desktop entry and shows the program's icon.
    QGuiApplication::setDesktopFileName(QString::fromUtf8(installation::kDesktopId));
    QApplication::setWindowIcon(applicationIcon());
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

void makeCaptionOnFrame(QGroupBox& box) {
    box.setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid #a0a0a0; border-radius: 2px; margin-top: 7px; }"
                                     "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 2px; }"));
}

void centreOn(QWidget& window, const QWidget* over) {
    const QRect area = over ? over->frameGeometry() : window.screen()->availableGeometry();
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

}  // namespace platform
