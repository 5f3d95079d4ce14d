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

// The file types of the program's save-picture dialog, numbered from 1 as Dialogs counts them.
inline constexpr const char* kPictureFilter =
    "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp";
inline constexpr int kPictureTypes = 3;
// Writes the picture in a type of that dialog (1 and 2 JPEG, 3 BMP; others count as the nearest),
// to the chosen name with the type's extension appended whatever the name already ends with.
void writePictureOfType(const QImage& picture, const QString& chosenName, int type);

// The bytes of the 24-bit BMP file, for callers that keep the picture in memory.
QByteArray bmpBytes(const QImage& picture);

} // namespace exporting
