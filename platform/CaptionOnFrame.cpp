// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CaptionOnFrame.h"

#include <QPainter>

namespace platform {
namespace {

constexpr int kFrameTop = 7;
constexpr int kCaptionLeft = 8;
constexpr int kCaptionPadding = 2;
const QColor kFrame(0xa0, 0xa0, 0xa0);

}  // namespace

void CaptionOnFrameGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const QRect caption(kCaptionLeft, kFrameTop - metrics.height() / 2,
                        metrics.horizontalAdvance(title()) + 2 * kCaptionPadding, metrics.height());
    // The frame line breaks where the caption stands on it.
    painter.setClipRegion(QRegion(rect()).subtracted(caption));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(kFrame);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, kFrameTop + 0.5, -0.5, -0.5), 2, 2);
    painter.setClipping(false);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(caption, Qt::AlignCenter, title());
}

}  // namespace platform
