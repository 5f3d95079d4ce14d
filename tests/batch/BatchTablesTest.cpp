#include "batch/BatchTables.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <functional>

using namespace batch;

namespace {

QStringList row(const TextGrid& grid, int r) {
    QStringList texts;
    for (int c = 0; c < grid.columnCount(); ++c)
        texts.append(grid.cell(c, r));
    return texts;
}

QStringList column(const TextGrid& grid, int c) {
    QStringList texts;
    for (int r = 0; r < grid.rowCount(); ++r)
        texts.append(grid.cell(c, r));
    return texts;
}

TEST(BatchTablesTest, LayoutOfTablesAndSummaries) {
    struct Case {
        std::function<void(TextGrid&)> setup;
        int columns;
        int rows;
        QStringList labels; // row 0 of a table, column 0 of a summary
        bool labelsInRow;
    };
    const std::vector<Case> cases{
        {setupBatchTable,
         5,
         20,
         {"  Вещество", "Моляр.масса", "Мольн. доля", "Общ.навеска", " Навеска, гр."},
         true},
        {setupFractionTable,
         5,
         20,
         {"  Вещество", "Моляр.масса", "   Масс, %", "Кол-во моль", "Мольн. доля"},
         true},
        {setupBatchSummary, 2, 2, {"Моль, %", "Навески, г"}, false},
        {setupFractionSummary, 2, 2, {"Моль, %", "Масс, %"}, false},
    };
    for (const Case& c : cases) {
        TextGrid grid;
        c.setup(grid);
        EXPECT_EQ(grid.columnCount(), c.columns);
        EXPECT_EQ(grid.rowCount(), c.rows);
        EXPECT_EQ(c.labelsInRow ? row(grid, 0) : column(grid, 0), c.labels);
        // Everything else starts empty.
        const QStringList empty = c.labelsInRow ? row(grid, 1) : column(grid, 1);
        EXPECT_EQ(empty.join(QString()), QString());
    }
}

TEST(BatchTablesTest, AddFillsTheFirstFreeRowVerbatim) {
    TextGrid table;
    setupBatchTable(table);
    EXPECT_EQ(addSubstanceRow(table, {"SiO2", "60,0848", " 75 ", "abc"}), 1);
    EXPECT_EQ(row(table, 1), (QStringList{"SiO2", "60,0848", " 75 ", "abc", ""}));
    table.setCell(4, 2, QStringLiteral("kept"));
    EXPECT_EQ(addSubstanceRow(table, {"Na2O", "61,979", "25", "100"}), 2);
    EXPECT_EQ(row(table, 2), (QStringList{"Na2O", "61,979", "25", "100", "kept"}));
    EXPECT_EQ(addSubstanceRow(table, {"CaO", "56,0794"}), 3);
    EXPECT_EQ(row(table, 3), (QStringList{"CaO", "56,0794", "", "", ""}));

    // A row whose formula the user emptied is free again.
    table.setCell(0, 2, QString());
    EXPECT_EQ(firstFreeRow(table), 2);
    EXPECT_EQ(addSubstanceRow(table, {"MgO", "40,3044", "5", "100"}), 2);
    EXPECT_EQ(row(table, 2), (QStringList{"MgO", "40,3044", "5", "100", "kept"}));
    EXPECT_EQ(countFilledRows(table), 3);
}

TEST(BatchTablesTest, TwentiethAddChangesNothing) {
    TextGrid table;
    setupFractionTable(table);
    for (int r = 1; r <= kLastSubstanceRow; ++r)
        ASSERT_EQ(addSubstanceRow(table, {QStringLiteral("S%1").arg(r), "1"}), r);
    QStringList before;
    for (int c = 0; c < table.columnCount(); ++c)
        before += column(table, c);
    EXPECT_EQ(firstFreeRow(table), -1);
    EXPECT_EQ(addSubstanceRow(table, {"X", "2"}), -1);
    QStringList after;
    for (int c = 0; c < table.columnCount(); ++c)
        after += column(table, c);
    EXPECT_EQ(after, before);
    EXPECT_EQ(table.rowCount(), kTableRows);
}

TEST(BatchTablesTest, FreeRowsFollowTheLoadedSize) {
    struct Case {
        int rows;
        int filled;
        int expected;
    };
    // Only rows 1 to 19 are ever offered, and only those the table has.
    for (const Case& c :
         {Case{30, 19, -1}, Case{30, 18, 19}, Case{5, 4, -1}, Case{5, 2, 3}, Case{1, 0, -1}}) {
        TextGrid table(kTableColumns, c.rows);
        for (int r = 1; r <= c.filled; ++r)
            table.setCell(0, r, QStringLiteral("S"));
        EXPECT_EQ(firstFreeRow(table), c.expected) << c.rows << " rows, " << c.filled << " filled";
    }
}

TEST(BatchTablesTest, CountFilledRowsSeesEveryRowAndBlanks) {
    TextGrid table(3, 30);
    table.setCell(0, 0, QStringLiteral("header"));
    table.setCell(0, 1, QStringLiteral("SiO2"));
    table.setCell(0, 3, QStringLiteral(" "));
    table.setCell(0, 25, QStringLiteral("CaO"));
    table.setCell(0, 29, QStringLiteral("MgO"));
    table.setCell(1, 2, QStringLiteral("not column 0"));
    EXPECT_EQ(countFilledRows(table), 4);
}

TEST(BatchTablesTest, ClearEmptiesEveryCellButTheHeader) {
    TextGrid table;
    setupBatchTable(table);
    const QStringList header = row(table, 0);
    table.setDimensions(7, 25);
    for (int c = 0; c < 7; ++c)
        for (int r = 1; r < 25; ++r)
            table.setCell(c, r, QStringLiteral("x"));
    clearSubstanceRows(table);
    EXPECT_EQ(table.columnCount(), 7);
    EXPECT_EQ(table.rowCount(), 25);
    EXPECT_EQ(row(table, 0).mid(0, 5), header);
    EXPECT_EQ(countFilledRows(table), 0);
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(column(table, c).mid(1).join(QString()), QString()) << "column " << c;
}

} // namespace
