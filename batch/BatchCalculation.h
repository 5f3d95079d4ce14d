#pragma once

// "Расчёт навесок": the weighed portion of every substance of the batch table.

#include "batch/TextGrid.h"

#include <QString>

namespace batch {

// Messages of the checks that both table calculations share.
inline const char* const kTooFewSubstances =
    "Недостаточно веществ для расчета! Для расчёта требуется не менее 2-х!";
inline const char* const kSumNotHundred = "Сумма массовых долей не равна 100%! Проверьте введенные данные!";
// Messages of the batch calculation's own checks.
inline const char* const kMissingBatchInputs = "Некорректно введены значения массовой доли и общей навески!";
inline const char* const kTotalMassDiffers = "Общая навеска должна быть одинакова для всех!";

// Percentages typed as decimal fractions rarely add up to exactly 100 in binary, so a sum
// within 1e-9 of 100 counts as 100.
bool isHundredPercent(double sum);

// Works on rows 1 to batchRowCount of the table (columns 0 to 3 in, column 4 out) and writes the
// mole-percent line into (1, 0) and the weight line into (1, 1) of the summary.
// Returns the message to show when a check fails, or an empty text on success. Conversion and
// floating-point failures throw batch::Failure. Whenever it does not succeed, nothing is written.
QString calculateBatchWeights(TextGrid& table, TextGrid& summary, int batchRowCount);

} // namespace batch
