#pragma once

// Layout of the two substance tables and their summaries, and the row operations that the
// main window's "Добавить" and "Очистить таблицу" commands perform on them.

#include "batch/TextGrid.h"

#include <QStringList>

namespace batch {

inline constexpr int kTableColumns = 5, kTableRows = 20, kLastSubstanceRow = 19;

// Dimensions 5 x 20 and the header row of the batch table (StringGrid1).
void setupBatchTable(TextGrid& grid);
// Dimensions 5 x 20 and the header row of the fraction table (StringGrid2).
void setupFractionTable(TextGrid& grid);
// 2 x 2 with the line labels in column 0 (StringGrid3 and StringGrid4).
void setupBatchSummary(TextGrid& grid);
void setupFractionSummary(TextGrid& grid);

// The first row from 1 to 19 whose column-0 cell is empty, or -1. A table loaded with fewer
// rows offers only the rows it has, so that every added substance lands in a real row.
int firstFreeRow(const TextGrid& grid);
// Rows from 1 to the last row whose column-0 cell is not empty; a cell of blanks is filled.
int countFilledRows(const TextGrid& grid);
// Empties every column of rows 1 to the last row; the header row stays.
void clearSubstanceRows(TextGrid& grid);
// Writes the texts verbatim into columns 0, 1, ... of the first free row and returns that row;
// -1 when no row is free, and then nothing is written.
int addSubstanceRow(TextGrid& grid, const QStringList& texts);

} // namespace batch
