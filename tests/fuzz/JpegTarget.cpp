// SPDX-License-Identifier: GPL-3.0-or-later
// The JPEG loader on arbitrary bytes: a picture or a null image, never more.
#include <cstddef>
#include <cstdint>

#include "platform/Jpeg.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QImage image = platform::decodeJpeg(bytes);
    fuzz::require(image.isNull() || (image.width() > 0 && image.height() > 0), "a decoded picture without pixels");
    return 0;
}
