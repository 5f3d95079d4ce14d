#pragma once

#include "batch/TextGrid.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace storage {

// Dimensions above these are refused as "Invalid numeric input": a damaged file must not make
// the program allocate tables it cannot hold.
inline constexpr int kMaxCalculationColumns = 1000;
inline constexpr int kMaxCalculationRows = 100000;

// Writes both tables in the file format; atomic (temp file in the same folder, flushed, renamed).
// Throws batch::Failure with the I/O message on failure; an existing target stays untouched.
// A cell holding a character that Windows-1251 cannot hold fails before anything is written.
void WriteCalculationFile(const QString& path, const batch::TextGrid& batchTable,
                          const batch::TextGrid& fractionTable);

// Returns false when the file cannot be opened (nothing changed). Parses both blocks into new grids
// first; only on full success replaces both tables (dimensions and cells) and sets both counts.
// Throws batch::Failure("Invalid numeric input") (or another I/O message) with nothing changed.
bool ReadCalculationFile(const QString& path, batch::TextGrid& batchTable, batch::TextGrid& fractionTable,
                         int& batchRowCount, int& fractionRowCount);

// ReadCalculationFile once the file's bytes are in memory: all or nothing, the same failures.
void readCalculationBytes(QByteArrayView bytes, batch::TextGrid& batchTable, batch::TextGrid& fractionTable,
                          int& batchRowCount, int& fractionRowCount);

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
};

// The file's text as decoded from Windows-1251. Throws batch::Failure("Invalid numeric input")
// for a count that is not a whole number or lies above the bounds.
CalculationContents parseCalculationFile(QStringView text);

// The file's bytes for the two tables. Throws batch::Failure naming a character that
// Windows-1251 cannot hold and the cell that holds it.
QByteArray formatCalculationFile(const batch::TextGrid& batchTable, const batch::TextGrid& fractionTable);

} // namespace storage
