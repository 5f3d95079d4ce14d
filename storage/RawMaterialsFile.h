#pragma once

// The raw-materials library as a file: UTF-8 text with ";" between the fields, one material a
// line, so that a plant's spreadsheet of certificates opens and saves it.
//
//   Название;Формула;Чистота, %;Влажность, %;Цена, руб/т;ППП, %;CO2, %;SiO2;Al2O3;…
//   Песок кварцевый;;;5;1200;0,15;0;99,5;0,2;…      a material given by its analysis
//   Сода кальцинированная;Na2CO3;99,4;;;;;;;…        a material given by its formula
//
// Every further column of the header is a glass oxide. Numbers take "," or "." as the decimal
// separator; empty oxide cells are 0; blank lines and empty cells beyond the header are allowed.
// The file is written with "," and a byte-order mark, and what is written reads back the same.

#include "chemistry/RawMaterialLibrary.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace storage {

// The library of the program lives in its Data folder under this name.
inline const QString kRawMaterialsFileName = QStringLiteral("RawMaterials.csv");
// A thousand materials with a few dozen oxides take some hundred kilobytes.
inline constexpr qint64 kMaxRawMaterialsFileBytes = 1 << 20;

// Throws batch::Failure naming the line (and the material) at fault; nothing is returned
// half-read. Empty bytes are an empty library.
chemistry::RawMaterialLibrary parseRawMaterialsFile(QByteArrayView bytes);
// Refuses what the reader would refuse, with the same messages. Names and formulas are written
// without surrounding blanks, as the reader takes them.
QByteArray formatRawMaterialsFile(const chemistry::RawMaterialLibrary& library);

// The library of the program: a missing file, or a pipe or device in its place, is an empty
// library; a file that is there but cannot be read, or is too large, throws batch::Failure.
chemistry::RawMaterialLibrary readRawMaterialLibrary(const QString& path);
// Another file, for an import: one that cannot be read at all is a failure too.
chemistry::RawMaterialLibrary readRawMaterialsFile(const QString& path);
// Saving and exporting: written atomically; the old file stays whole when anything fails.
void writeRawMaterialsFile(const QString& path, const chemistry::RawMaterialLibrary& library);

} // namespace storage
