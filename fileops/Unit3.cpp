#include "fileops/Unit3.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "engine/Tumbler.h"
#include "platform/EnterKey.h"
#include "platform/ErrorReport.h"
#include "platform/QtPorts.h"
#include "platform/RuntimeError.h"
#include "platform/Style.h"

namespace {

template <class Widget>
Widget* placed(Widget* widget, const char* name, QRect bounds) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(bounds);
    return widget;
}

}  // namespace

TForm3::TForm3()
    : ToolWindow(QStringLiteral("Generování klíče"), QSize(313, 97), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form3"));
    platform::centreOn(*this, nullptr);
    Image1 = background();

    Label1 = placed(new QLabel(QStringLiteral("Velikost klíče"), this), "Label1", {8, 14, 90, 16});
    platform::makeCaptionLabel(*Label1);
    ComboBox1 = placed(new QComboBox(this), "ComboBox1", {100, 10, 81, 22});
    ComboBox1->setEditable(true);
    // A typed size is a size to use, not a new entry of the list.
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems({QStringLiteral("32"), QStringLiteral("64"), QStringLiteral("128"), QStringLiteral("256"),
                         QStringLiteral("512"), QStringLiteral("1024"), QStringLiteral("2048"),
                         QStringLiteral("4096")});
    ComboBox1->setCurrentIndex(0);
    Label2 = placed(new QLabel(QStringLiteral("b"), this), "Label2", {186, 14, 12, 16});
    platform::makeCaptionLabel(*Label2);
    BitBtn1 = placed(new QPushButton(QStringLiteral("Generovat"), this), "BitBtn1", {216, 8, 89, 25});
    Edit1 = placed(new QLineEdit(this), "Edit1", {8, 40, 100, 21});
    Edit1->hide();
    code = placed(new QComboBox(this), "code", {8, 60, 297, 22});

    connect(BitBtn1, &QPushButton::clicked, this, platform::guarded(this, &TForm3::BitBtn1Click));
    platform::pressOnEnter(*this, [this] { return BitBtn1; });
}

void TForm3::BitBtn1Click() {
    const int bits = platform::strToInt(ComboBox1->currentText());
    platform::LineEditField field(*Edit1);
    Tumbler::keynb(bits, field);
    code->addItem(Edit1->text());
    code->setCurrentIndex(code->count() - 1);
}
