#pragma once

#include "batch/TextGrid.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace storage {

// Dimensions above these are refused as "Invalid numeric input": a damaged file must not make
// the program allocate tables it cannot hold, and every file it takes must load, show and save
// in under a second (the program's own files are 5 x 20). Measured with bench/measure-files:
// two tables of 100 x 10 000 filled cells took 1.1 s to load, so half as many rows.
inline constexpr int kMaxCalculationColumns = 100;
inline constexpr int kMaxCalculationRows = 5000;
// Larger files are refused before they are read: both tables at their largest, with cells of
// a dozen characters, fit in half of it.
inline constexpr qint64 kMaxCalculationFileBytes = qint64(32) << 20;

// How much of what a file declared it really held. A file cut short still loads (missing
// counts read as 0, missing cells as empty), but the user must hear of it before saving over it.
struct CalculationShortfall {
    qint64 declaredCells = 0; // the cells of both tables as loaded
    qint64 missingCells = 0;  // of those, the ones the file ended before
    bool endedEarly() const { return missingCells > 0; }
};

// "Файл … закончился раньше, чем ожидалось: …", saying how many cells were missing.
QString earlyEndMessage(const QString& path, const CalculationShortfall& shortfall);

// Writes both tables in the file format; atomic (temp file in the same folder, flushed, renamed).
// Throws batch::Failure with the I/O message on failure; an existing target stays untouched.
// A cell holding a character that Windows-1251 cannot hold fails before anything is written.
void WriteCalculationFile(const QString& path, const batch::TextGrid& batchTable,
                          const batch::TextGrid& fractionTable);

// Returns false when the file cannot be opened or is not a regular file (nothing changed). Parses
// both blocks into new grids first; only on full success replaces both tables (dimensions and
// cells) and sets both counts. Throws batch::Failure("Invalid numeric input") (or another I/O
// message, or the message for a file above kMaxCalculationFileBytes) with nothing changed.
// The shortfall, when asked for, tells whether the file ended early.
bool ReadCalculationFile(const QString& path, batch::TextGrid& batchTable, batch::TextGrid& fractionTable,
                         int& batchRowCount, int& fractionRowCount,
                         CalculationShortfall* shortfall = nullptr);

// ReadCalculationFile once the file's bytes are in memory: all or nothing, the same failures.
CalculationShortfall readCalculationBytes(QByteArrayView bytes, batch::TextGrid& batchTable,
                                          batch::TextGrid& fractionTable, int& batchRowCount,
                                          int& fractionRowCount);

// One table as a file carries it, before any table sees it.
struct CalculationBlock {
    int columns = 1;
    int rows = 1;
    // The cell lines the file holds, column by column; cells past the end of the file are
    // missing here and stand empty in the table. Never more than columns * rows entries.
    QStringList cells;

    QString cell(int column, int row) const;
    // Rows 1 .. rows - 1 whose first cell is not empty (a cell of blanks counts).
    int substanceCount() const;
};

struct CalculationContents {
    CalculationBlock batch;
    CalculationBlock fraction;

    CalculationShortfall shortfall() const;
};

// The file's text as decoded from Windows-1251. Throws batch::Failure("Invalid numeric input")
// for a count that is not a whole number or lies above the bounds.
CalculationContents parseCalculationFile(QStringView text);

// The file's bytes for the two tables. Throws batch::Failure naming a character that
// Windows-1251 cannot hold and the cell that holds it.
QByteArray formatCalculationFile(const batch::TextGrid& batchTable, const batch::TextGrid& fractionTable);

} // namespace storage
