#pragma once

#include <QImage>
#include <QString>

namespace exporting {

// The JPEG quality of saved table pictures: high enough that the thin grid lines and small
// figures of a table stay crisp, at about a tenth of the BMP's size.
inline constexpr int kTablePictureQuality = 90;

// Write a picture the way calculation files are written: into a temporary file beside the
// target, then renamed over it, so that a failed write never leaves a broken picture or
// destroys an existing one. A failure throws batch::Failure with the file layer's message
// ("Invalid filename" for a missing folder, "File access denied", "Disk full", ...).

// A BMP file with 24 bits per pixel, whatever the picture's own format.
void writeBmp(const QImage& picture, const QString& path);
// A baseline JPEG file of the picture's RGB colours.
void writeJpeg(const QImage& picture, const QString& path, int quality = kTablePictureQuality);

// The bytes of the 24-bit BMP file, for callers that keep the picture in memory.
QByteArray bmpBytes(const QImage& picture);

} // namespace exporting
