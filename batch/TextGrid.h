#pragma once

#include <QObject>
#include <QString>
#include <vector>

namespace batch {

// A rectangular table of text cells addressed by (column, row), both from 0.
// Reading outside the table gives the empty text. It signals every change so that a view
// can follow it; the calculations never depend on any view.
class TextGrid : public QObject {
    Q_OBJECT
public:
    TextGrid(int columns = 1, int rows = 1, QObject* parent = nullptr);

    int columnCount() const { return columns_; }
    int rowCount() const { return rows_; }
    // Dimensions below 1 are taken as 1. Cells inside both the old and new bounds keep their text.
    void setColumnCount(int columns);
    void setRowCount(int rows);
    void setDimensions(int columns, int rows);

    QString cell(int column, int row) const;
    // Writing outside the table is ignored.
    void setCell(int column, int row, const QString& text);

    // Replaces dimensions and cells with those of another grid in one step.
    void assign(const TextGrid& other);
    // The same, taking the other grid's cells instead of copying them; the other grid is left
    // with this grid's old cells.
    void assign(TextGrid&& other);

signals:
    void cellChanged(int column, int row);
    void reset();

private:
    int columns_;
    int rows_;
    // One vector per column, holding rows only up to the last one written: a table whose
    // dimensions came from a damaged file costs memory only for the cells it really holds.
    std::vector<std::vector<QString>> cells_;
};

} // namespace batch
