#include "queries/widgets/CelulaDestaque.h"

namespace qav {

void CelulaDestaque::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (!index.data(destaque::Role).toBool())
        return;
    option->palette.setColor(QPalette::Text, destaque::kVermelho);
    option->palette.setColor(QPalette::Highlight, destaque::kVermelho);
    option->palette.setColor(QPalette::HighlightedText, destaque::kBranco);
}

} // namespace qav
