#pragma once

// A glass composition as a file: UTF-8 text with ";" between the fields, so that a spreadsheet
// opens it as a table.
//
//   Содержание;массовые %            (or "мольные %")
//   Масса стекла, г;100
//   Стеклобой, %;0
//   Оксид;Содержание;Сырьё;Чистота, %;Влажность, %;Улетучивание, %
//   SiO2;72;SiO2;;;                  one line per composition row, at most 19

#include "batch/GlassCompositionSheet.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace storage {

QByteArray formatCompositionFile(const batch::GlassCompositionSheet& sheet);
// Throws batch::Failure naming the line at fault; nothing is returned half-read.
batch::GlassCompositionSheet parseCompositionFile(QByteArrayView bytes);

// Written atomically like the calculation file; I/O failures throw batch::Failure.
void writeCompositionFile(const QString& path, const batch::GlassCompositionSheet& sheet);
batch::GlassCompositionSheet readCompositionFile(const QString& path);

} // namespace storage
