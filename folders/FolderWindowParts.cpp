#include "folders/FolderWindowParts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QKeyEvent>

#include "platform/EngineKey.h"
#include "platform/FileListBox.h"
#include "platform/QtPorts.h"
#include "platform/Style.h"

namespace {

QProgressBar* bar(QWidget& parent, const char* name, QRect bounds, bool segmented) {
    auto* bar = new QProgressBar(&parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(bounds);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    if (segmented) bar->setStyleSheet(QStringLiteral("QProgressBar::chunk { width: 8px; margin: 1px; }"));
    return bar;
}

QLineEdit* hiddenField(QWidget& parent, const char* name) {
    auto* field = new QLineEdit(&parent);
    field->setObjectName(QString::fromLatin1(name));
    field->hide();
    return field;
}

// Enter that no control of the window took (a text field passes it on) presses the default button.
class EnterPresses : public QObject {
public:
    EnterPresses(QPushButton& button, QObject* parent) : QObject(parent), button_(button) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && button_.isEnabled()) {
                button_.click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton& button_;
};

}  // namespace

QLabel* folderWindowLabel(QWidget& parent, const char* name, const QString& text, int x, int y, int width) {
    auto* label = new QLabel(text, &parent);
    label->setObjectName(QString::fromLatin1(name));
    platform::makeCaptionLabel(*label);
    label->setGeometry(x, y, width, 16);
    return label;
}

FolderWindowParts buildFolderWindowParts(QWidget& window, const FolderWindowLayout& layout) {
    FolderWindowParts parts;
    parts.Label2 = folderWindowLabel(window, "Label2", QStringLiteral("Soubor :"), 8, 104, 60);
    parts.soubor = folderWindowLabel(window, "soubor", QString(), 70, 104, 388);
    parts.barCaption = folderWindowLabel(window, layout.barCaptionName, layout.barCaptionText, 8, 124, 250);
    parts.pbf = bar(window, "pbf", {8, 142, 450, 17}, true);

    parts.GroupBox1 = new QGroupBox(&window);
    parts.GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    parts.GroupBox1->setGeometry(8, 166, 450, 94);
    QWidget& box = *parts.GroupBox1;
    parts.statusCaption = folderWindowLabel(box, layout.statusCaptionName, QStringLiteral("Status  :"), 8, 12, 60);
    parts.status = folderWindowLabel(box, "status", QString(), 70, 12, 372);
    parts.Label4 = folderWindowLabel(box, "Label4", QStringLiteral("Balíček složky :"), 8, 36, 200);
    const QRect left{8, 58, 200, 17}, right{240, 58, 202, 17};
    parts.pb1 = bar(box, "pb1", layout.pb1OnTheLeft ? left : right, false);
    parts.Label5 = folderWindowLabel(box, "Label5", QStringLiteral("<<"), 216, 58, 20);
    parts.pb2 = bar(box, "pb2", layout.pb1OnTheLeft ? right : left, false);

    parts.HashEdit = hiddenField(window, "HashEdit");
    parts.ErrorMsg = hiddenField(window, "ErrorMsg");
    parts.FileListBox = new platform::FileListBox(&window);
    parts.FileListBox->setObjectName(QStringLiteral("FileListBox"));
    parts.FileListBox->hide();
    return parts;
}

KeyGroup buildKeyGroup(QWidget& window, const QString& caption, const QString& keyCaption) {
    KeyGroup group;
    group.gb = new QGroupBox(caption, &window);
    group.gb->setObjectName(QStringLiteral("gb"));
    group.gb->setGeometry(8, 28, 450, 70);
    group.Label3 = new QLabel(keyCaption, group.gb);
    group.Label3->setObjectName(QStringLiteral("Label3"));
    group.Label3->setGeometry(8, 20, 200, 14);
    QPushButton* ok = group.BitBtn1 = new QPushButton(QStringLiteral("OK"), group.gb);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setGeometry(366, 38, 75, 25);
    ok->setDefault(true);
    ok->setEnabled(false);
    window.installEventFilter(new EnterPresses(*ok, &window));
    return group;
}

void callFolderLibrary(FolderExport call, const QString& packagePath, QWidget& window,
                       const FolderWindowParts& parts, const QString& key) {
    platform::LineEditField hashEdit(*parts.HashEdit), errorMsg(*parts.ErrorMsg);
    platform::FileListPort files(*parts.FileListBox);
    platform::ProgressBarPort pb1(*parts.pb1), pb2(*parts.pb2), pbf(*parts.pbf);
    platform::LabelPort soubor(*parts.soubor), status(*parts.status);
    platform::WindowPort windowPort(window);
    const EngineKey engineKey(key);
    call(packagePath.toStdString(), hashEdit, files, errorMsg, pb1, pb2, pbf, soubor, status, windowPort,
         engineKey.utf8());
}
