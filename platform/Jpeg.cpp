// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include <QFile>
#include <QPainter>

namespace platform {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onFatalError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

// A header names any size up to 65500 x 65500, and the picture is allocated before a line is read: bound
// it by what the program could ever show, so that a hostile file cannot ask for gigabytes.
constexpr JDIMENSION kMaxSide = 16384;
constexpr unsigned long long kMaxPixels = 32ull * 1024 * 1024;  // 96 MiB as RGB
// libjpeg's own buffers (a progressive picture keeps all its coefficients): beyond this it fails, as this
// build has no backing store on disk.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

bool sizeWithinBounds(const jpeg_decompress_struct& info) {
    return info.image_width <= kMaxSide && info.image_height <= kMaxSide &&
           static_cast<unsigned long long>(info.image_width) * info.image_height <= kMaxPixels;
}

}  // namespace

QImage decodeJpeg(const QByteArray& data) {
    if (data.isEmpty()) return {};
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onFatalError;
    errors.base.output_message = ignoreMessage;
    // Declared before setjmp so that a jump back leaves it in a defined state.
    QImage image;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (!sizeWithinBounds(info)) {
        jpeg_destroy_decompress(&info);
        return {};
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
    if (image.isNull()) {  // the memory for it was refused
        jpeg_destroy_decompress(&info);
        return {};
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

QImage loadJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return decodeJpeg(file.readAll());
}

Picture::Picture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Picture::setPicture(const QImage& image) {
    image_ = image;
    update();
}

void Picture::paintEvent(QPaintEvent*) {
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

}  // namespace platform
