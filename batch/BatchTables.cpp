#include "batch/BatchTables.h"

#include <algorithm>

namespace batch {

namespace {

void writeHeader(TextGrid& grid, const QStringList& headers) {
    grid.setDimensions(kTableColumns, kTableRows);
    for (int c = 0; c < headers.size(); ++c)
        grid.setCell(c, 0, headers[c]);
}

void writeSummaryLabels(TextGrid& grid, const QString& moleLabel, const QString& secondLabel) {
    grid.setDimensions(2, 2);
    grid.setCell(0, 0, moleLabel);
    grid.setCell(0, 1, secondLabel);
}

} // namespace

void setupBatchTable(TextGrid& grid) {
    writeHeader(grid,
                {QStringLiteral("  Вещество"), QStringLiteral("Моляр.масса"), QStringLiteral("Мольн. доля"),
                 QStringLiteral("Общ.навеска"), QStringLiteral(" Навеска, гр.")});
}

void setupFractionTable(TextGrid& grid) {
    writeHeader(grid,
                {QStringLiteral("  Вещество"), QStringLiteral("Моляр.масса"), QStringLiteral("   Масс, %"),
                 QStringLiteral("Кол-во моль"), QStringLiteral("Мольн. доля")});
}

void setupBatchSummary(TextGrid& grid) {
    writeSummaryLabels(grid, QStringLiteral("Моль, %"), QStringLiteral("Навески, г"));
}

void setupFractionSummary(TextGrid& grid) {
    writeSummaryLabels(grid, QStringLiteral("Моль, %"), QStringLiteral("Масс, %"));
}

int firstFreeRow(const TextGrid& grid) {
    const int last = std::min(kLastSubstanceRow, grid.rowCount() - 1);
    for (int r = 1; r <= last; ++r)
        if (grid.cell(0, r).isEmpty())
            return r;
    return -1;
}

int countFilledRows(const TextGrid& grid) {
    int filled = 0;
    for (int r = 1; r < grid.rowCount(); ++r)
        if (!grid.cell(0, r).isEmpty())
            ++filled;
    return filled;
}

void clearSubstanceRows(TextGrid& grid) {
    for (int c = 0; c < grid.columnCount(); ++c)
        for (int r = 1; r < grid.rowCount(); ++r)
            grid.setCell(c, r, QString());
}

int addSubstanceRow(TextGrid& grid, const QStringList& texts) {
    const int row = firstFreeRow(grid);
    if (row < 0)
        return -1;
    for (int c = 0; c < texts.size(); ++c)
        grid.setCell(c, row, texts[c]);
    return row;
}

} // namespace batch
