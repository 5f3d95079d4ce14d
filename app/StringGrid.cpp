#include "app/StringGrid.h"

#include "batch/TextGrid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <climits>
#include <cstdlib>

// Draws the lines between ordinary cells. QTableView's own grid always draws both directions
// at once, so it stays off and each cell paints its bottom and right edge as asked.
class GridLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool horzLine = true;
    bool vertLine = true;

    // Every keystroke reaches the grid at once, so that a command run while a cell is still being
    // edited (from the toolbar or a menu, which take no focus) sees the text as it stands.
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            connect(line, &QLineEdit::textEdited, this,
                    [this, line] { emit const_cast<GridLineDelegate*>(this)->commitData(line); });
        }
        return editor;
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        if (!horzLine && !vertLine)
            return;
        const QStyle* style = option.widget ? option.widget->style() : nullptr;
        const QColor color = style ? QColor::fromRgba(static_cast<QRgb>(style->styleHint(
                                         QStyle::SH_Table_GridLineColor, &option, option.widget)))
                                   : option.palette.color(QPalette::Mid);
        const QRect& r = option.rect;
        painter->save();
        painter->setPen(QPen(color, 0));
        if (horzLine)
            painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        if (vertLine)
            painter->drawLine(r.right(), r.top(), r.right(), r.bottom());
        painter->restore();
    }
};

namespace {

// Five columns of this width fit the 333-pixel batch tables without a scroll bar, and the
// longest header, "Общ.навеска", still reads in full in the condensed 8-point window font.
constexpr int defaultColumnWidth = 65;
constexpr int minimumRowHeight = 24;
// How far from a boundary, in pixels either side, a press still grabs it for sizing.
constexpr int sizingGrip = 2;

// The section whose far edge lies within the grip of pos along the header's axis, or -1.
int sectionEndingNear(const QHeaderView* header, int pos) {
    int visual = header->visualIndexAt(pos);
    if (visual < 0)
        visual = header->visualIndexAt(pos - sizingGrip); // just past the last section
    if (visual < 0)
        return -1;
    for (const int v : {visual, visual - 1}) {
        if (v < 0)
            continue;
        const int logical = header->logicalIndex(v);
        const int edge = header->sectionViewportPosition(logical) + header->sectionSize(logical);
        if (std::abs(pos - edge) <= sizingGrip)
            return logical;
    }
    return -1;
}

// A cell of tab-separated text: quoted when a spreadsheet would otherwise split it or take a
// quotation mark of its own for the start of a quoted cell.
QString clipboardCell(const QString& text) {
    if (!text.contains(u'\t') && !text.contains(u'\n') && !text.contains(u'\r') && !text.contains(u'"'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

} // namespace

StringGrid::StringGrid(batch::TextGrid* grid, TextGridModel::Layout layout, QWidget* parent)
    : QTableView(parent), model_(new TextGridModel(grid, layout, this)),
      delegate_(new GridLineDelegate(this)) {
    setModel(model_);
    setItemDelegate(delegate_);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab leaves the table, as it does from any other field of the window.
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    viewport()->setMouseTracking(true);

    // The window's sans-serif face is wider than the one these tables were first drawn with;
    // its condensed cut keeps all five headers of a 333-pixel table readable without a scroll
    // bar. Only the stretch is set, so the size and family still follow the window. The headers
    // get it explicitly because they do not inherit the stretch from the table.
    QFont condensed;
    condensed.setStretch(QFont::Condensed);
    setFont(condensed);
    horizontalHeader()->setFont(condensed);
    verticalHeader()->setFont(condensed);

    const int rowHeight = std::max(minimumRowHeight, fontMetrics().height() + 8);
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        // Fixed cells are labels: clicking them selects nothing and they never light up.
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    horizontalHeader()->setDefaultSectionSize(defaultColumnWidth);
    horizontalHeader()->setFixedHeight(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);

    if (layout == TextGridModel::Layout::HeaderRow) {
        verticalHeader()->hide();
    } else {
        horizontalHeader()->hide();
        fixedColumnWidth_ = defaultColumnWidth;
        verticalHeader()->setFixedWidth(fixedColumnWidth_);
    }
    applyEditState();
    applySizingModes();
}

void StringGrid::setEditing(bool on) {
    if (editing_ == on)
        return;
    editing_ = on;
    applyEditState();
}

void StringGrid::setRowSelect(bool on) {
    if (rowSelect_ == on)
        return;
    rowSelect_ = on;
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    // The selection follows the new behaviour at once instead of at the next click.
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        auto command = QItemSelectionModel::ClearAndSelect;
        selectionModel()->select(current, on ? command | QItemSelectionModel::Rows : command);
    }
    applyEditState();
}

void StringGrid::setHorzLine(bool on) {
    if (horzLine_ == on)
        return;
    horzLine_ = on;
    delegate_->horzLine = on;
    viewport()->update();
}

void StringGrid::setVertLine(bool on) {
    if (vertLine_ == on)
        return;
    vertLine_ = on;
    delegate_->vertLine = on;
    viewport()->update();
}

void StringGrid::setRowSizing(bool on) {
    if (rowSizing_ == on)
        return;
    rowSizing_ = on;
    applySizingModes();
}

void StringGrid::setColSizing(bool on) {
    if (colSizing_ == on)
        return;
    colSizing_ = on;
    applySizingModes();
}

int StringGrid::columnWidthPixels(int gridColumn) const {
    if (model_->layout() == TextGridModel::Layout::HeaderColumn)
        return gridColumn == 0 ? fixedColumnWidth_ : columnWidth(gridColumn - 1);
    return columnWidth(gridColumn);
}

void StringGrid::setColumnWidthPixels(int gridColumn, int px) {
    if (model_->layout() == TextGridModel::Layout::HeaderColumn) {
        if (gridColumn == 0) {
            fixedColumnWidth_ = px;
            verticalHeader()->setFixedWidth(px);
            return;
        }
        setColumnWidth(gridColumn - 1, px);
        return;
    }
    setColumnWidth(gridColumn, px);
}

QString StringGrid::selectedText() const {
    const batch::TextGrid* cells = grid();
    QModelIndexList selected = selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (selected.isEmpty() && currentIndex().isValid())
        selected << currentIndex();
    if (!cells || selected.isEmpty())
        return {};
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    const int width = right - left + 1;
    std::vector<bool> chosen(static_cast<size_t>((bottom - top + 1) * width), false);
    for (const QModelIndex& index : selected)
        chosen[static_cast<size_t>((index.row() - top) * width + index.column() - left)] = true;

    const bool captionRow =
        model_->layout() == TextGridModel::Layout::HeaderRow && top == 0 && bottom == model_->rowCount() - 1;
    const bool labelColumn = model_->layout() == TextGridModel::Layout::HeaderColumn && left == 0 &&
                             right == model_->columnCount() - 1;
    QStringList lines;
    int lastWithText = -1;
    if (captionRow) {
        QStringList captions;
        for (int c = left; c <= right; ++c)
            captions << clipboardCell(cells->cell(c, 0));
        lines << captions.join(u'\t');
        lastWithText = 0;
    }
    for (int r = top; r <= bottom; ++r) {
        QStringList row;
        bool hasText = false;
        if (labelColumn) {
            row << clipboardCell(cells->cell(0, r));
            hasText = !row.back().isEmpty();
        }
        for (int c = left; c <= right; ++c) {
            const QModelIndex index = model_->index(r, c);
            QString text;
            if (chosen[static_cast<size_t>((r - top) * width + c - left)])
                text = clipboardCell(cells->cell(model_->gridColumn(index), model_->gridRow(index)));
            hasText = hasText || !text.isEmpty();
            row << text;
        }
        lines << row.join(u'\t');
        if (hasText)
            lastWithText = static_cast<int>(lines.size()) - 1;
    }
    // A single empty cell still copies as one empty line, as a spreadsheet copies it.
    lines = lines.mid(0, std::max(lastWithText + 1, 1));
    return lines.join(u'\n') + u'\n';
}

void StringGrid::copySelection() const {
    const QString text = selectedText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
    // Qt's own view copies the current cell only.
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void StringGrid::applyEditState() {
    const bool inPlace = editing_ && !rowSelect_;
    if (!inPlace)
        finishEditing();
    model_->setEditable(inPlace);
    setEditTriggers(inPlace ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                  QAbstractItemView::AnyKeyPressed
                            : QAbstractItemView::NoEditTriggers);
}

void StringGrid::finishEditing() {
    if (state() != QAbstractItemView::EditingState)
        return;
    // What was typed so far is kept: the option only stops further editing.
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void StringGrid::applySizingModes() {
    horizontalHeader()->setSectionResizeMode(colSizing_ ? QHeaderView::Interactive : QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(rowSizing_ ? QHeaderView::Interactive : QHeaderView::Fixed);
    if ((drag_.kind == DragKind::Row && !rowSizing_) || (drag_.kind == DragKind::Column && !colSizing_))
        drag_ = {};
    if (sizingCursor_ && drag_.kind == DragKind::None) {
        viewport()->unsetCursor();
        sizingCursor_ = false;
    }
}

StringGrid::Boundary StringGrid::boundaryAt(const QPoint& viewportPos) const {
    // A header that is shown does its own sizing; the cell area stands in only for a hidden one.
    if (rowSizing_ && verticalHeader()->isHidden()) {
        const int row = sectionEndingNear(verticalHeader(), viewportPos.y());
        if (row >= 0 && viewportPos.x() < horizontalHeader()->length() - horizontalHeader()->offset())
            return {DragKind::Row, row};
    }
    if (colSizing_ && horizontalHeader()->isHidden()) {
        const int column = sectionEndingNear(horizontalHeader(), viewportPos.x());
        if (column >= 0 && viewportPos.y() < verticalHeader()->length() - verticalHeader()->offset())
            return {DragKind::Column, column};
    }
    return {};
}

void StringGrid::updateSizingCursor(const QPoint& viewportPos) {
    const DragKind kind = drag_.kind != DragKind::None ? drag_.kind : boundaryAt(viewportPos).kind;
    if (kind == DragKind::None) {
        if (sizingCursor_)
            viewport()->unsetCursor();
        sizingCursor_ = false;
        return;
    }
    viewport()->setCursor(kind == DragKind::Row ? Qt::SplitVCursor : Qt::SplitHCursor);
    sizingCursor_ = true;
}

void StringGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPoint pos = event->position().toPoint();
        const Boundary boundary = boundaryAt(pos);
        if (boundary.kind != DragKind::None) {
            drag_ = boundary;
            const bool rows = boundary.kind == DragKind::Row;
            dragOrigin_ = rows ? pos.y() : pos.x();
            dragStartSize_ = rows ? rowHeight(boundary.section) : columnWidth(boundary.section);
            event->accept();
            return;
        }
    }
    QTableView::mousePressEvent(event);
}

void StringGrid::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (drag_.kind != DragKind::None) {
        const bool rows = drag_.kind == DragKind::Row;
        const QHeaderView* header = rows ? verticalHeader() : horizontalHeader();
        const int size =
            std::max(header->minimumSectionSize(), dragStartSize_ + (rows ? pos.y() : pos.x()) - dragOrigin_);
        if (rows)
            setRowHeight(drag_.section, size);
        else
            setColumnWidth(drag_.section, size);
        event->accept();
        return;
    }
    updateSizingCursor(pos);
    QTableView::mouseMoveEvent(event);
}

void StringGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_.kind != DragKind::None && event->button() == Qt::LeftButton) {
        drag_ = {};
        updateSizingCursor(event->position().toPoint());
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void StringGrid::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click on a boundary being dragged must not open the cell's editor as well.
    if (boundaryAt(event->position().toPoint()).kind != DragKind::None) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}
