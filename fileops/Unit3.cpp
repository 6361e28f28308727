// SPDX-License-Identifier: GPL-3.0-or-later
#include "fileops/Unit3.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>

#include "engine/Tumbler.h"
#include "platform/EngineCall.h"
#include "platform/EnterKey.h"
#include "platform/ErrorReport.h"
#include "platform/QtPorts.h"
#include "platform/RuntimeError.h"
#include "platform/Style.h"
#include "platform/WidgetKit.h"

namespace {

using platform::describe;
using platform::named;

QComboBox* comboBox(QWidget* parent, const char* name, QRect bounds, const QString& spokenName,
                    const QString& description) {
    auto* box = named(new QComboBox(parent), name);
    box->setGeometry(bounds);
    box->setEditable(true);
    // A typed size is a size to use, not a new entry of the list.
    box->setInsertPolicy(QComboBox::NoInsert);
    describe(*box, spokenName, description);
    describe(*box->lineEdit(), spokenName, description);
    return box;
}

// Draws each key of the open list whole, wrapped at the list's width over as many lines as it needs (a key
// has no spaces for the item views' own word wrapping).
class WrappedKeys : public QStyledItemDelegate {
public:
    WrappedKeys(QListView& list, QObject* parent) : QStyledItemDelegate(parent), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const int width = list_.viewport()->width();
        const QRect text = option.fontMetrics.boundingRect(QRect(0, 0, std::max(1, width - 2 * kMargin), 0),
                                                           Qt::TextWrapAnywhere, index.data().toString());
        return {width, text.height() + 2 * kMargin};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QString key = item.text;
        item.text.clear();  // the style draws the background and the highlight, the key is drawn here
        const QStyle* style = item.widget ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);
        painter->save();
        const bool chosen = item.state & QStyle::State_Selected;
        painter->setPen(item.palette.color(chosen ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(item.rect.adjusted(kMargin, kMargin, -kMargin, -kMargin), Qt::TextWrapAnywhere, key);
        painter->restore();
    }

private:
    static constexpr int kMargin = 3;
    QListView& list_;
};

// The keys are for copying: the box shows the chosen key as text one can select and copy (scrolling along
// it), but not change, and the open list shows every key whole.
void showKeysWhole(QComboBox& keys) {
    keys.lineEdit()->setReadOnly(true);
    auto* list = new QListView(&keys);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setResizeMode(QListView::Adjust);  // the rows follow the list's width once it is shown
    keys.setView(list);
    keys.setItemDelegate(new WrappedKeys(*list, &keys));
}

}  // namespace

TForm3::TForm3()
    : ToolWindow(QStringLiteral("Generování klíče"), QSize(313, 97), QStringLiteral(":/window-background.jpg")) {
    setObjectName(QStringLiteral("Form3"));
    platform::centreOn(*this, nullptr);
    Image1 = background();

    ComboBox1 = comboBox(this, "ComboBox1", {100, 10, 81, 22}, QStringLiteral("Velikost klíče"),
                         QStringLiteral("Velikost klíče v bitech"));
    ComboBox1->addItems({QStringLiteral("32"), QStringLiteral("64"), QStringLiteral("128"), QStringLiteral("256"),
                         QStringLiteral("512"), QStringLiteral("1024"), QStringLiteral("2048"),
                         QStringLiteral("4096")});
    ComboBox1->setCurrentIndex(0);
    Label1 = platform::makeCaptionLabel(this, "Label1", QStringLiteral("Velikost klíče"), {8, 14, 90, 16}, ComboBox1);
    Label2 = platform::makeCaptionLabel(this, "Label2", QStringLiteral("b"), {186, 14, 12, 16}, ComboBox1);
    BitBtn1 = platform::makeDefaultButton(*this, this, "BitBtn1", QStringLiteral("&Generovat"), {216, 8, 89, 25},
                                          QStringLiteral("Vygeneruje jeden klíč zvolené velikosti"));
    Edit1 = platform::makeHiddenField(this, "Edit1");
    code = comboBox(this, "code", {8, 60, 297, 22}, QStringLiteral("Vygenerované klíče"),
                    QStringLiteral("Klíče vygenerované od spuštění programu; vybraný klíč lze označit a zkopírovat"));
    showKeysWhole(*code);
    platform::closeOnEscape(*this);

    connect(BitBtn1, &QPushButton::clicked, this, platform::guarded(this, &TForm3::BitBtn1Click));
}

void TForm3::BitBtn1Click() {
    const int bits = platform::strToInt(ComboBox1->currentText());
    platform::LineEditField field(*Edit1);
    platform::callEngine([&] { Tumbler::keynb(bits, field); });
    code->addItem(Edit1->text());
    code->setCurrentIndex(code->count() - 1);
    code->lineEdit()->home(false);  // the key from its beginning
}
