#include "app/RawMaterialDelegate.h"

#include "chemistry/GlassRawMaterials.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace {
const QString kMaterialSeparator = QStringLiteral(" — ");
}

RawMaterialDelegate::RawMaterialDelegate(QAbstractItemDelegate* painter,
                                         const chemistry::RawMaterialLibrary& library, QObject* parent)
    : QStyledItemDelegate(parent), painter_(painter), library_(library) {}

QWidget* RawMaterialDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex&) const {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("GlassRawMaterial"));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(30);
    // The list shows name and formula in full, wider than the cell.
    box->view()->setMinimumWidth(300);
    for (const chemistry::RawMaterial& material : library_.materials)
        box->addItem(material.name.trimmed(), material.name.trimmed());
    if (box->count() > 0)
        box->insertSeparator(box->count());
    for (const chemistry::GlassRawMaterial& material : chemistry::glassRawMaterials())
        box->addItem(material.formula + kMaterialSeparator + material.name, material.formula);
    return box;
}

void RawMaterialDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    static_cast<QComboBox*>(editor)->setEditText(index.data(Qt::EditRole).toString());
}

void RawMaterialDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
    const auto* box = static_cast<QComboBox*>(editor);
    QString text = box->currentText();
    const int item = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (item >= 0 && box->itemData(item).isValid()) {
        text = box->itemData(item).toString();
    } else {
        const qsizetype separator = text.indexOf(kMaterialSeparator);
        if (separator >= 0)
            text.truncate(separator);
    }
    model->setData(index, text.trimmed(), Qt::EditRole);
}

// Drawn like every other cell of the table, grid lines included.
void RawMaterialDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    painter_->paint(painter, option, index);
}
