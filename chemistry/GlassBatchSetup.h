#pragma once

// Turns the typed composition into the problem of the glass-batch calculation: numbers read,
// oxides and formulas understood, each raw material's oxide yields laid out per oxide row.

#include "batch/GlassBatch.h"
#include "batch/GlassCompositionSheet.h"

namespace chemistry {

// Rows whose oxide and raw material cells are both empty are skipped. Empty purity means 100,
// empty moisture, volatilisation and cullet mean 0. Throws batch::Failure naming the row at fault,
// and the row and column (or the field) of a number that cannot be read.
batch::GlassBatchProblem prepareGlassBatch(const batch::GlassCompositionSheet& sheet);

} // namespace chemistry
