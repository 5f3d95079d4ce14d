#pragma once

// Turns the typed composition into the problem of the glass-batch calculation: numbers read,
// oxides, formulas and library materials understood, each raw material's oxide yields laid out
// over the oxides of the glass.

#include "batch/GlassBatch.h"
#include "batch/GlassCompositionSheet.h"
#include "chemistry/RawMaterialLibrary.h"

namespace chemistry {

// A row with an oxide and a raw material lists that oxide, carried by that material; a row with a
// raw material and a fixed amount but no oxide is a fixed addition. The "Сырьё" cell names a
// material of the library (compared without surrounding blanks) or, failing that, is a formula.
// Rows whose oxide, raw material and fixed amount are all empty are skipped.
//
// Empty cells: purity is the library's for a library material given by its formula, else 100 (a
// purity typed for a material given by its analysis is refused); moisture is the library's for a
// library material (0 when it has none), else 0; volatilisation and cullet are 0. The oxides that
// the materials bring and the rows do not list become the problem's extra oxides, in the order of
// the program's table of glass oxides (glassOxides()).
//
// Throws batch::Failure naming the row (and the raw material) at fault, and the row and column
// (or the field) of a number that cannot be read.
batch::GlassBatchProblem prepareGlassBatch(const batch::GlassCompositionSheet& sheet,
                                           const RawMaterialLibrary& library);
// The same with formulas only, as without a library.
batch::GlassBatchProblem prepareGlassBatch(const batch::GlassCompositionSheet& sheet);

// The number in a cell of the composition grid (row from 1); the failure names the row and the
// column, as those of prepareGlassBatch do.
batch::Extended compositionCellNumber(const QString& text, int row, int column);

// Whether no row of the sheet names a raw material at all (every "Сырьё" cell is blank).
bool namesNoRawMaterial(const batch::GlassCompositionSheet& sheet);

} // namespace chemistry
