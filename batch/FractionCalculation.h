#pragma once

// "Рассчитать": amounts of substance per 100 g of batch and mole fractions from the mass
// percentages of the fraction table.

#include "batch/TextGrid.h"

#include <QString>

namespace batch {

inline const char* const kMissingMassFraction = "Введите массовую долю (Масс,%) !";

// Works on rows 1 to fractionRowCount of the table (columns 0 to 2 in, columns 3 and 4 out) and
// writes the mole-percent line into (1, 0) and the mass-percent line into (1, 1) of the summary.
// Returns the message to show when a check fails, or an empty text on success. Conversion and
// floating-point failures throw batch::Failure. Whenever it does not succeed, nothing is written.
QString calculateFractions(TextGrid& table, TextGrid& summary, int fractionRowCount);

} // namespace batch
