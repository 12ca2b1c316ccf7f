#include "customers/widgets/PromoCellDelegate.h"

namespace qav {

void PromoCellDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(Qt::BackgroundRole).isValid())
        option->state &= ~QStyle::State_Selected; // the cell's own colour, not the highlight
}

} // namespace qav
