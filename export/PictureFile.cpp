#include "export/PictureFile.h"

#include "batch/Failure.h"
#include "export/JpegImage.h"
#include "storage/AtomicFile.h"

#include <QBuffer>

#include <algorithm>

namespace exporting {

namespace {

// Encoding a picture in memory fails only when memory runs out.
[[noreturn]] void failEncoding() {
    throw batch::Failure(QStringLiteral("Out of memory"));
}

} // namespace

QByteArray bmpBytes(const QImage& picture) {
    // Qt writes RGB888 as 24 bits per pixel; formats with alpha would give 32.
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (rgb.isNull() || !rgb.save(&buffer, "BMP"))
        return {};
    return bytes;
}

void writeBmp(const QImage& picture, const QString& path) {
    const QByteArray bytes = bmpBytes(picture);
    if (bytes.isEmpty())
        failEncoding();
    storage::replaceFileOrFail(path, bytes);
}

void writeJpeg(const QImage& picture, const QString& path, int quality) {
    const QByteArray bytes = encodeJpeg(picture, quality);
    if (bytes.isEmpty())
        failEncoding();
    storage::replaceFileOrFail(path, bytes);
}

void writePictureOfType(const QImage& picture, const QString& chosenName, int type) {
    const char* const extensions[kPictureTypes] = {".jpg", ".jpeg", ".bmp"};
    type = std::clamp(type, 1, kPictureTypes);
    const QString path = chosenName + QLatin1String(extensions[type - 1]);
    if (type == 3)
        writeBmp(picture, path);
    else
        writeJpeg(picture, path, kTablePictureQuality);
}

} // namespace exporting
