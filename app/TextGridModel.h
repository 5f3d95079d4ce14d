#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <functional>

namespace batch {
class TextGrid;
}

// Shows a batch::TextGrid in an item view. The grid's fixed row or fixed column is not a row or
// column of the model: it is handed to the view as header data, so the header stays in place
// while the cells scroll and is never selected or edited.
class TextGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Layout {
        // Grid row 0 is the horizontal header; model row r is grid row r + 1.
        HeaderRow,
        // Grid column 0 is the vertical header; model column c is grid column c + 1.
        HeaderColumn,
    };

    // A cell shows at most this many characters, the rest elided: laying out megabytes of text
    // would freeze every redraw. The grid keeps the whole text for calculations, files and export.
    static constexpr qsizetype kMaxShownCharacters = 4000;
    static QString shownText(const QString& cell);

    // The grid is not owned; it must outlive the model or be destroyed with it.
    TextGridModel(batch::TextGrid* grid, Layout layout, QObject* parent = nullptr);

    batch::TextGrid* grid() const;
    Layout layout() const { return layout_; }

    // Cells accept edits only while this is on.
    bool isEditable() const { return editable_; }
    void setEditable(bool editable);

    // A hint shown greyed in an empty cell, such as the value the program takes when the cell stays
    // empty; an empty hint shows nothing. The cell itself stays empty: editing starts from nothing,
    // and the grid, files and calculations never see the hint.
    using CellHint = std::function<QString(int gridColumn, int gridRow)>;
    void setCellHint(CellHint hint);
    // The hints of these cells are to be asked again (what they depend on has changed).
    void hintsChanged(int gridColumn, int firstGridRow, int lastGridRow);

    // Each cell's tooltip shows its whole text, for cells longer than their column. On from the
    // start for the summary layout, whose lines of many substances are.
    bool cellToolTips() const { return cellToolTips_; }
    void setCellToolTips(bool on) { cellToolTips_ = on; }

    // Address translation between the grid and the model. An index of a header cell is invalid.
    QModelIndex indexForCell(int gridColumn, int gridRow) const;
    int gridColumn(const QModelIndex& index) const;
    int gridRow(const QModelIndex& index) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void onCellChanged(int column, int row);
    void onGridReset();

    QString hintFor(const QModelIndex& index) const;

    QPointer<batch::TextGrid> grid_;
    Layout layout_;
    CellHint hint_;
    bool editable_ = true;
    bool cellToolTips_;
};
