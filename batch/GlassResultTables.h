#pragma once

// The batch for a glass composition as the composition window shows it: the raw materials, the
// glass the batch gives and the summary, as text tables in the program's number text.

#include "batch/GlassBatch.h"
#include "batch/TextGrid.h"

namespace batch {

inline constexpr int kGlassResultColumns = 4;
inline constexpr int kGlassSummaryRows = 9;

// Column captions of the raw materials ("Сырьё", "Навеска, г", "Сухое, г", "В шихте, %") and of the
// glass ("Оксид", "В стекле, масс. %", …) in row 0; the summary's labels in column 0.
void setUpGlassResultTables(TextGrid& materials, TextGrid& oxides, TextGrid& summary);

// Writes the result below the captions and beside the labels. The oxides that come on top of the
// composition have no asked content, and the summary names them; the cost rows name the raw
// materials without a price when there are any. Gives the gases, one a line, for a tooltip.
QString writeGlassBatchResult(const GlassBatchProblem& problem, const GlassBatchResult& result,
                              TextGrid& materials, TextGrid& oxides, TextGrid& summary);

// Empties everything but the captions and labels.
void clearGlassBatchResult(TextGrid& materials, TextGrid& oxides, TextGrid& summary);

} // namespace batch
