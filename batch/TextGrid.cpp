#include "batch/TextGrid.h"

#include <algorithm>

namespace batch {

TextGrid::TextGrid(int columns, int rows, QObject* parent)
    : QObject(parent), columns_(std::max(1, columns)), rows_(std::max(1, rows)),
      cells_(static_cast<size_t>(columns_) * static_cast<size_t>(rows_)) {}

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
    std::vector<QString> cells(static_cast<size_t>(columns) * static_cast<size_t>(rows));
    const int keepColumns = std::min(columns, columns_);
    const int keepRows = std::min(rows, rows_);
    for (int c = 0; c < keepColumns; ++c)
        for (int r = 0; r < keepRows; ++r)
            cells[static_cast<size_t>(c) * rows + r] = std::move(cells_[static_cast<size_t>(c) * rows_ + r]);
    cells_ = std::move(cells);
    columns_ = columns;
    rows_ = rows;
    emit reset();
}

QString TextGrid::cell(int column, int row) const {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return {};
    return cells_[static_cast<size_t>(column) * rows_ + row];
}

void TextGrid::setCell(int column, int row, const QString& text) {
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_)
        return;
    QString& target = cells_[static_cast<size_t>(column) * rows_ + row];
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

} // namespace batch
