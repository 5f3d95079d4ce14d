#include "app/TextGridModel.h"

#include "batch/TextGrid.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>

namespace {

// Fixed cells read like the program's other labels: left-aligned, the leading blanks of the
// header texts doing the indenting.
constexpr Qt::Alignment cellAlignment = Qt::AlignLeft | Qt::AlignVCenter;

} // namespace

TextGridModel::TextGridModel(batch::TextGrid* grid, Layout layout, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), layout_(layout),
      cellToolTips_(layout == Layout::HeaderColumn) {
    if (!grid_)
        return;
    connect(grid_, &batch::TextGrid::cellChanged, this, &TextGridModel::onCellChanged);
    connect(grid_, &batch::TextGrid::reset, this, &TextGridModel::onGridReset);
    // A grid destroyed under a live view must not leave it reading a dangling pointer.
    connect(grid_, &QObject::destroyed, this, &TextGridModel::onGridReset);
}

QString TextGridModel::shownText(const QString& cell) {
    if (cell.size() <= kMaxShownCharacters)
        return cell;
    qsizetype kept = kMaxShownCharacters - 1;
    // Never split a surrogate pair.
    if (cell.at(kept - 1).isHighSurrogate())
        --kept;
    return cell.first(kept) + QChar(0x2026);
}

batch::TextGrid* TextGridModel::grid() const {
    return grid_;
}

void TextGridModel::setEditable(bool editable) {
    if (editable_ == editable)
        return;
    editable_ = editable;
    // Views cache nothing of the flags, but delegates and accessibility may; tell them.
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {});
}

void TextGridModel::setCellHint(CellHint hint) {
    hint_ = std::move(hint);
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::DisplayRole, Qt::ForegroundRole});
}

void TextGridModel::hintsChanged(int gridColumn, int firstGridRow, int lastGridRow) {
    const QModelIndex first = indexForCell(gridColumn, firstGridRow);
    const QModelIndex last = indexForCell(gridColumn, lastGridRow);
    if (first.isValid() && last.isValid())
        emit dataChanged(first, last, {Qt::DisplayRole, Qt::ForegroundRole});
}

QString TextGridModel::hintFor(const QModelIndex& index) const {
    if (!hint_ || !grid_->cell(gridColumn(index), gridRow(index)).isEmpty())
        return QString();
    return hint_(gridColumn(index), gridRow(index));
}

QModelIndex TextGridModel::indexForCell(int gridColumn, int gridRow) const {
    if (layout_ == Layout::HeaderRow)
        return index(gridRow - 1, gridColumn);
    return index(gridRow, gridColumn - 1);
}

int TextGridModel::gridColumn(const QModelIndex& index) const {
    if (!index.isValid())
        return -1;
    return layout_ == Layout::HeaderRow ? index.column() : index.column() + 1;
}

int TextGridModel::gridRow(const QModelIndex& index) const {
    if (!index.isValid())
        return -1;
    return layout_ == Layout::HeaderRow ? index.row() + 1 : index.row();
}

int TextGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !grid_)
        return 0;
    return layout_ == Layout::HeaderRow ? std::max(0, grid_->rowCount() - 1) : grid_->rowCount();
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !grid_)
        return 0;
    return layout_ == Layout::HeaderColumn ? std::max(0, grid_->columnCount() - 1) : grid_->columnCount();
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !grid_)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        const QString& text = grid_->cell(gridColumn(index), gridRow(index));
        return text.isEmpty() && hint_ ? hintFor(index) : shownText(text);
    }
    case Qt::ForegroundRole:
        if (hint_ && !hintFor(index).isEmpty())
            return QGuiApplication::palette().color(QPalette::PlaceholderText);
        return {};
    case Qt::EditRole:
        return grid_->cell(gridColumn(index), gridRow(index));
    case Qt::ToolTipRole:
        if (cellToolTips_)
            return shownText(grid_->cell(gridColumn(index), gridRow(index)));
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cellAlignment);
    default:
        return {};
    }
}

bool TextGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!editable_ || role != Qt::EditRole || !index.isValid() || !grid_)
        return false;
    // The grid signals the change itself; onCellChanged turns that into dataChanged.
    grid_->setCell(gridColumn(index), gridRow(index), value.toString());
    return true;
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (!grid_)
        return {};
    const bool isFixed = (layout_ == Layout::HeaderRow && orientation == Qt::Horizontal) ||
                         (layout_ == Layout::HeaderColumn && orientation == Qt::Vertical);
    if (!isFixed)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return shownText(layout_ == Layout::HeaderRow ? grid_->cell(section, 0) : grid_->cell(0, section));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cellAlignment);
    default:
        return {};
    }
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (editable_)
        result |= Qt::ItemIsEditable;
    return result;
}

void TextGridModel::onCellChanged(int column, int row) {
    if (layout_ == Layout::HeaderRow && row == 0) {
        emit headerDataChanged(Qt::Horizontal, column, column);
        return;
    }
    if (layout_ == Layout::HeaderColumn && column == 0) {
        emit headerDataChanged(Qt::Vertical, row, row);
        return;
    }
    const QModelIndex changed = indexForCell(column, row);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void TextGridModel::onGridReset() {
    // The grid has already changed when it signals; the view only needs to re-read everything.
    beginResetModel();
    endResetModel();
}
