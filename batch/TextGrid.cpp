#include "batch/TextGrid.h"

#include <algorithm>

namespace batch {

TextGrid::TextGrid(int columns, int rows, QObject* parent)
    : QObject(parent), columns_(std::max(1, columns)), rows_(std::max(1, rows)),
      cells_(static_cast<size_t>(columns_)) {}

void TextGrid::setColumnCount(int columns) {
    setDimensions(columns, rows_);
}

void TextGrid::setRowCount(int rows) {
    setDimensions(columns_, rows);
}

void TextGrid::setDimensions(int columns, int rows) {
    columns = std::max(1, columns);
    rows = std::max(1, rows);
    if (columns == columns_ && rows == rows_)
        return;
    cells_.resize(static_cast<size_t>(columns));
    for (std::vector<QString>& column : cells_)
        if (column.size() > static_cast<size_t>(rows))
            column.resize(static_cast<size_t>(rows));
    columns_ = columns;
    rows_ = rows;
    emit reset();
}

QString TextGrid::cell(int column, int row) const {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return {};
    const std::vector<QString>& cells = cells_[static_cast<size_t>(column)];
    return static_cast<size_t>(row) < cells.size() ? cells[static_cast<size_t>(row)] : QString();
}

void TextGrid::setCell(int column, int row, const QString& text) {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return;
    std::vector<QString>& cells = cells_[static_cast<size_t>(column)];
    if (static_cast<size_t>(row) >= cells.size()) {
        if (text.isEmpty())
            return; // an unwritten cell is already empty
        cells.resize(static_cast<size_t>(row) + 1);
    }
    QString& target = cells[static_cast<size_t>(row)];
    if (target == text)
        return;
    target = text;
    emit cellChanged(column, row);
}

void TextGrid::assign(const TextGrid& other) {
    columns_ = other.columns_;
    rows_ = other.rows_;
    cells_ = other.cells_;
    emit reset();
}

void TextGrid::assign(TextGrid&& other) {
    std::swap(columns_, other.columns_);
    std::swap(rows_, other.rows_);
    cells_.swap(other.cells_);
    emit reset();
}

} // namespace batch
