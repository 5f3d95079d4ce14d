#pragma once

#include <QByteArray>
#include <QImage>

namespace exporting {

// JPEG through libjpeg's IJG interface. Neither function ever lets libjpeg end the process:
// a damaged stream gives a null image, a failed encoding an empty array.

// Decodes a JPEG stream into a 32-bit RGB image; grey-scale and colour streams are both accepted.
QImage decodeJpeg(const QByteArray& data);

// Encodes an image as a baseline 24-bit RGB JPEG; quality is libjpeg's scale from 1 to 100.
QByteArray encodeJpeg(const QImage& image, int quality = 75);

} // namespace exporting
