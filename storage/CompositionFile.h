#pragma once

// A glass composition as a file: UTF-8 text with ";" between the fields, so that a spreadsheet
// opens it as a table.
//
//   Содержание;массовые %            (or "мольные %")
//   Масса стекла, г;100
//   Стеклобой, %;0
//   Оксид;Содержание;Сырьё;Чистота, %;Влажность, %;Улетучивание, %;Задано, г на 100 г стекла
//   SiO2;72;Песок (пример);;;;       one line per composition row, at most 30
//   ;;Na2SO4;;;;0,8                  a fixed addition
//
// Every composition is written with the seven columns; files of earlier versions, which have the
// first six only, still load.

#include "batch/GlassCompositionSheet.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace storage {

QByteArray formatCompositionFile(const batch::GlassCompositionSheet& sheet);
// Throws batch::Failure naming the line at fault; nothing is returned half-read. Empty fields
// that a spreadsheet adds at the end of a line are taken. unendedLine, when given, is set to the
// line where the last row starts when no line end follows it (the file may have been cut inside
// it), else to 0.
batch::GlassCompositionSheet parseCompositionFile(QByteArrayView bytes, int* unendedLine = nullptr);

// Written atomically like the calculation file; I/O failures throw batch::Failure. Only regular
// files are read or written: a pipe or a device is "File access denied".
void writeCompositionFile(const QString& path, const batch::GlassCompositionSheet& sheet);
batch::GlassCompositionSheet readCompositionFile(const QString& path, int* unendedLine = nullptr);

// What the window says after loading a file whose last row has no line end.
QString unendedFileMessage(const QString& path, int line);

} // namespace storage
