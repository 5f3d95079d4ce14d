#pragma once

#include "chemistry/RawMaterialLibrary.h"

#include <QStyledItemDelegate>

// The "Сырьё" cells: the names of the library's materials, then a list of common raw materials by
// formula and name; a formula typed in is taken as it stands. The cell keeps the library name or
// the formula only.
class RawMaterialDelegate : public QStyledItemDelegate {
public:
    // `painter` draws the cells as the table's other cells are drawn; the library gives the names
    // the list offers and must outlive the delegate.
    RawMaterialDelegate(QAbstractItemDelegate* painter, const chemistry::RawMaterialLibrary& library,
                        QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    QAbstractItemDelegate* painter_;
    const chemistry::RawMaterialLibrary& library_;
};
