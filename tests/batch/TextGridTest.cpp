#include "batch/TextGrid.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using batch::TextGrid;

TEST(TextGrid, ReadsEmptyOutsideAndKeepsCellsThatStayInsideWhenResized) {
    TextGrid grid(3, 4);
    grid.setCell(0, 0, QStringLiteral("a"));
    grid.setCell(2, 3, QStringLiteral("b"));
    grid.setCell(1, 1, QStringLiteral("c"));
    grid.setCell(3, 0, QStringLiteral("ignored"));
    grid.setCell(0, -1, QStringLiteral("ignored"));
    EXPECT_EQ(grid.cell(2, 3), QStringLiteral("b"));
    EXPECT_EQ(grid.cell(3, 0), QString());
    EXPECT_EQ(grid.cell(0, 4), QString());

    grid.setDimensions(2, 2);
    EXPECT_EQ(grid.cell(0, 0), QStringLiteral("a"));
    EXPECT_EQ(grid.cell(1, 1), QStringLiteral("c"));
    grid.setDimensions(3, 4);
    // Cells cut off by the smaller table do not come back.
    EXPECT_EQ(grid.cell(2, 3), QString());

    grid.setDimensions(0, -7);
    EXPECT_EQ(grid.columnCount(), 1);
    EXPECT_EQ(grid.rowCount(), 1);
}

TEST(TextGrid, SignalsOnlyRealChanges) {
    TextGrid grid(2, 2);
    QSignalSpy changed(&grid, &TextGrid::cellChanged);
    QSignalSpy reset(&grid, &TextGrid::reset);
    grid.setCell(1, 1, QString());
    grid.setCell(1, 1, QStringLiteral("x"));
    grid.setCell(1, 1, QStringLiteral("x"));
    grid.setDimensions(2, 2);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    grid.setRowCount(5);
    EXPECT_EQ(reset.count(), 1);
}

TEST(TextGrid, HugeDimensionsCostOnlyTheCellsWritten) {
    // 1000 x 100000 cells of full storage would take gigabytes; an empty table must not.
    TextGrid grid(1000, 100000);
    grid.setCell(999, 99999, QStringLiteral("last"));
    EXPECT_EQ(grid.cell(999, 99999), QStringLiteral("last"));
    TextGrid copy;
    copy.assign(grid);
    EXPECT_EQ(copy.columnCount(), 1000);
    EXPECT_EQ(copy.cell(999, 99999), QStringLiteral("last"));
    EXPECT_EQ(copy.cell(500, 500), QString());
}
