#include "batch/BatchTables.h"
#include "GridSnapshot.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace batch;

namespace {

QStringList row(const TextGrid& grid, int r) {
    QStringList texts;
    for (int c = 0; c < grid.columnCount(); ++c)
        texts.append(grid.cell(c, r));
    return texts;
}

TEST(TextGrid, ReadsEmptyOutsideKeepsWhatAResizeLeavesAndSignalsOnlyChanges) {
    TextGrid grid(3, 4);
    QSignalSpy changed(&grid, &TextGrid::cellChanged), reset(&grid, &TextGrid::reset);
    const std::tuple<int, int, const char*> writes[] = {{0, 0, "a"}, {0, 0, "a"},       {1, 1, ""},
                                                        {2, 3, "b"}, {3, 0, "outside"}, {0, -1, "outside"}};
    for (const auto& [column, row, text] : writes)
        grid.setCell(column, row, QString::fromUtf8(text));
    grid.setDimensions(3, 4);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(grid.cell(3, 0) + grid.cell(0, 4) + grid.cell(0, -1), QString());
    grid.setDimensions(2, 2);
    grid.setDimensions(3, 4);
    EXPECT_EQ(reset.count(), 2);
    // A cell cut off by the smaller table does not come back.
    EXPECT_EQ(snapshot(grid).join(u'|'), QStringLiteral("3|4|a") + QString(11, u'|'));
    grid.setDimensions(0, -7);
    EXPECT_EQ(snapshot(grid), (QStringList{"1", "1", "a"}));
}

TEST(TextGrid, HugeDimensionsCostOnlyTheCellsWritten) {
    // 1000 x 100000 cells of full storage would take gigabytes; an empty table must not.
    TextGrid grid(1000, 100000), copy;
    grid.setCell(999, 99999, QStringLiteral("last"));
    copy.assign(grid);
    EXPECT_EQ(copy.columnCount(), 1000);
    EXPECT_EQ(copy.cell(999, 99999) + copy.cell(500, 500), QStringLiteral("last"));
}

TEST(BatchTables, LayoutOfTablesAndSummaries) {
    // Dimensions, then the labels: row 0 of a table, column 0 of a summary; every other cell is empty.
    const std::pair<void (*)(TextGrid&), const char*> cases[] = {
        {setupBatchTable, "5|20|  Вещество|Моляр.масса|Мольн. доля|Общ.навеска| Навеска, гр."},
        {setupFractionTable, "5|20|  Вещество|Моляр.масса|   Масс, %|Кол-во моль|Мольн. доля"},
        {setupBatchSummary, "2|2|Моль, %|Навески, г"},
        {setupFractionSummary, "2|2|Моль, %|Масс, %"},
    };
    for (const auto& [setup, expected] : cases) {
        TextGrid grid;
        setup(grid);
        const QStringList layout =
            snapshot(grid).mid(0, 2) +
            (grid.rowCount() == kTableRows ? row(grid, 0) : QStringList{grid.cell(0, 0), grid.cell(0, 1)});
        EXPECT_EQ(layout, QString::fromUtf8(expected).split(u'|'));
        EXPECT_EQ(snapshot(grid).join(QString()), layout.join(QString()));
    }
}

TEST(BatchTables, AddWritesTheFirstFreeRowVerbatimAndNothingWhenNoneIsFree) {
    TextGrid table;
    setupBatchTable(table);
    EXPECT_EQ(addSubstanceRow(table, {"SiO2", "60,0848", " 75 ", "abc"}), 1);
    table.setCell(4, 2, QStringLiteral("kept"));
    EXPECT_EQ(addSubstanceRow(table, {"CaO", "56,0794"}), 2);
    EXPECT_EQ(row(table, 1), (QStringList{"SiO2", "60,0848", " 75 ", "abc", ""}));
    EXPECT_EQ(row(table, 2), (QStringList{"CaO", "56,0794", "", "", "kept"}));
    // A row whose formula the user emptied is free again.
    table.setCell(0, 1, QString());
    EXPECT_EQ(addSubstanceRow(table, {"MgO"}), 1);
    for (int r = 3; r <= kLastSubstanceRow; ++r)
        ASSERT_EQ(addSubstanceRow(table, {QStringLiteral("S%1").arg(r)}), r);
    const QStringList full = snapshot(table);
    EXPECT_EQ(addSubstanceRow(table, {"X", "2"}), -1);
    EXPECT_EQ(snapshot(table), full);
}

TEST(BatchTables, FreeAndFilledRowsFollowTheLoadedSize) {
    // Only rows 1 to 19 are ever offered, and only those the table has; every filled row counts.
    QList<int> first19;
    for (int r = 1; r <= kLastSubstanceRow; ++r)
        first19.append(r);
    const struct {
        int rows;
        QList<int> filled;
        int free, count;
    } cases[] = {{30, {}, 1, 0},           {30, first19, -1, 19}, {30, {1, 25, 29}, 2, 3},
                 {5, {1, 2, 3, 4}, -1, 4}, {5, {2}, 1, 1},        {1, {}, -1, 0}};
    for (const auto& c : cases) {
        TextGrid table(kTableColumns, c.rows);
        table.setCell(0, 0, QStringLiteral("header"));
        table.setCell(1, 1, QStringLiteral("not column 0"));
        for (int r : c.filled)
            table.setCell(0, r, QStringLiteral(" "));
        EXPECT_EQ(firstFreeRow(table), c.free) << c.rows << " rows, " << c.filled.size() << " filled";
        EXPECT_EQ(countFilledRows(table), c.count) << c.rows << " rows, " << c.filled.size() << " filled";
    }
}

TEST(BatchTables, ClearEmptiesEveryCellButTheHeader) {
    TextGrid table(7, 25);
    for (int c = 0; c < 7; ++c)
        for (int r = 0; r < 25; ++r)
            table.setCell(c, r, QStringLiteral("%1").arg(r));
    clearSubstanceRows(table);
    EXPECT_EQ(snapshot(table).join(QString()), QStringLiteral("725") + QStringLiteral("0").repeated(7));
}

} // namespace
