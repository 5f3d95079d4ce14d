#pragma once

#include "app/TextGridModel.h"

#include <QTableView>

class GridLineDelegate;

// The program's table of text cells. It shows a batch::TextGrid through a TextGridModel and
// offers six switchable options. Each setter returns at once when the option already has the
// value asked for, so that a caller may re-apply all options as often as it likes (the program
// does every 100 ms) without a flicker and without disturbing an edit in progress.
class StringGrid : public QTableView {
    Q_OBJECT
public:
    StringGrid(batch::TextGrid* grid, TextGridModel::Layout layout, QWidget* parent = nullptr);

    batch::TextGrid* grid() const { return model_->grid(); }
    TextGridModel* textModel() const { return model_; }

    // Cells can be edited in place (typing or a double click starts the editor).
    bool editing() const { return editing_; }
    void setEditing(bool on);
    // A click selects whole rows; while on, cells are never edited in place.
    bool rowSelect() const { return rowSelect_; }
    void setRowSelect(bool on);
    // Lines between the ordinary cells, each direction on its own. The headers keep their
    // section borders either way.
    bool horzLine() const { return horzLine_; }
    void setHorzLine(bool on);
    bool vertLine() const { return vertLine_; }
    void setVertLine(bool on);
    // Row heights can be changed by dragging a row boundary: in the vertical header where it is
    // shown, otherwise on the boundary between two rows in the cell area.
    bool rowSizing() const { return rowSizing_; }
    void setRowSizing(bool on);
    // Column widths can be changed by dragging a column boundary in the horizontal header, or in
    // the cell area where that header is hidden.
    bool colSizing() const { return colSizing_; }
    void setColSizing(bool on);

    // A cell editor is open.
    bool isEditingCell() const { return state() == QAbstractItemView::EditingState; }

    // The selected cells as spreadsheets read them from the clipboard: cells separated by tabs,
    // each row ended by a line end, a cell holding a tab, line end or quotation mark in quotation
    // marks (its own doubled). Cells inside the selected block but not selected are empty; rows
    // after the last one with text are left out. A selection from the first row to the last takes
    // the column captions along (the fixed row labels, for the summary layout, a selection from
    // the first column to the last). Without a selection, the current cell; empty without that.
    // Ctrl+C puts this text on the clipboard.
    QString selectedText() const;
    void copySelection() const;

    // Width of a column counted as in the grid, the fixed column of a summary table included.
    int columnWidthPixels(int gridColumn) const;
    void setColumnWidthPixels(int gridColumn, int px);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    enum class DragKind { None, Row, Column };
    struct Boundary {
        DragKind kind = DragKind::None;
        int section = -1; // the row or column whose far edge is under the pointer
    };

    void applyEditState();
    void applySizingModes();
    void finishEditing();
    Boundary boundaryAt(const QPoint& viewportPos) const;
    void updateSizingCursor(const QPoint& viewportPos);

    TextGridModel* model_;
    GridLineDelegate* delegate_;
    bool editing_ = true;
    bool rowSelect_ = false;
    bool horzLine_ = true;
    bool vertLine_ = true;
    bool rowSizing_ = false;
    bool colSizing_ = false;

    Boundary drag_;
    int dragOrigin_ = 0;    // pointer position along the drag axis at the press
    int dragStartSize_ = 0; // section size at the press
    bool sizingCursor_ = false;
    int fixedColumnWidth_ = 0; // the vertical header's width in the summary layout
};
