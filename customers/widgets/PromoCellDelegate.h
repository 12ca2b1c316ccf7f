#pragma once
// Paints a cell that has a background colour of its own with that colour also while its row is
// highlighted, so the promotional price stays green under the selection.

#include <QStyledItemDelegate>

namespace qav {

class PromoCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace qav
