// The two table calculations against any table contents: a calculation that does not succeed
// writes nothing, and one that does writes numbers that read back.
#include "FuzzCheck.h"
#include "batch/BatchCalculation.h"
#include "batch/BatchTables.h"
#include "batch/Failure.h"
#include "batch/FractionCalculation.h"
#include "batch/NumberText.h"
#include "batch/TextGrid.h"

#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

QStringList cellsOf(const batch::TextGrid& grid) {
    QStringList cells{QString::number(grid.columnCount()), QString::number(grid.rowCount())};
    for (int c = 0; c < grid.columnCount(); ++c)
        for (int r = 0; r < grid.rowCount(); ++r)
            cells << grid.cell(c, r);
    return cells;
}

// Mostly numbers as people type them, sometimes anything.
QString cellText(FuzzedDataProvider& input) {
    static const char* const pieces[] = {
        "",       "0",       "1",   "2,5", "33,3",          "100",   "60,0848", "-1",
        "1E4000", "1e-4000", " 7 ", "abc", "99,9999999999", "1E300", "0,000001"};
    if (input.ConsumeBool())
        return QString::fromLatin1(pieces[input.ConsumeIntegralInRange<size_t>(0, std::size(pieces) - 1)]);
    const std::string raw = input.ConsumeRandomLengthString(12);
    return QString::fromLatin1(raw.data(), qsizetype(raw.size()));
}

void fill(FuzzedDataProvider& input, batch::TextGrid& table, int rows, int columns) {
    for (int r = 1; r <= rows; ++r)
        for (int c = 0; c < columns; ++c)
            table.setCell(c, r, c == 0 ? QStringLiteral("S%1").arg(r) : cellText(input));
}

void checkNumbers(const batch::TextGrid& table, int rows, int column) {
    for (int r = 1; r <= rows; ++r) {
        batch::Extended value = 0;
        fuzzCheck(batch::tryTextToNumber(table.cell(column, r), value), "a computed cell does not read back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    batch::setDecimalSeparator(QLatin1Char(','));
    const bool fractions = input.ConsumeBool();
    const int rows = input.ConsumeIntegralInRange(0, batch::kLastSubstanceRow);
    batch::TextGrid table, summary;
    if (fractions) {
        batch::setupFractionTable(table);
        batch::setupFractionSummary(summary);
        fill(input, table, rows, 3);
    } else {
        batch::setupBatchTable(table);
        batch::setupBatchSummary(summary);
        fill(input, table, rows, 4);
    }
    const QStringList before = cellsOf(table) + cellsOf(summary);
    QString message;
    try {
        message = fractions ? batch::calculateFractions(table, summary, rows)
                            : batch::calculateBatchWeights(table, summary, rows);
    } catch (const batch::Failure&) {
        message = QStringLiteral("failure");
    }
    if (!message.isEmpty()) {
        fuzzCheck(cellsOf(table) + cellsOf(summary) == before, "a calculation that failed wrote something");
        return 0;
    }
    checkNumbers(table, rows, fractions ? 3 : 4);
    if (fractions)
        checkNumbers(table, rows, 4);
    return 0;
}
