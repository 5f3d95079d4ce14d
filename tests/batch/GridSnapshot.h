#pragma once

#include "batch/TextGrid.h"

#include <QStringList>

// Every cell of a grid, with its dimensions, for comparing a grid before and after.
inline QStringList snapshot(const batch::TextGrid& grid) {
    QStringList cells{QString::number(grid.columnCount()), QString::number(grid.rowCount())};
    for (int c = 0; c < grid.columnCount(); ++c)
        for (int r = 0; r < grid.rowCount(); ++r)
            cells.append(grid.cell(c, r));
    return cells;
}
