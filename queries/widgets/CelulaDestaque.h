#pragma once
// Cells the query lists point out (an overdue due date, days late): red text on the normal row, and
// white on red while the row is highlighted, so that the warning does not disappear under the
// selection colour.

#include <QColor>
#include <QStyledItemDelegate>

namespace qav {

namespace destaque {
// The role through which a model marks a cell as pointed out (a bool).
inline constexpr int Role = Qt::UserRole + 1;
inline const QColor kVermelho(255, 0, 0);
inline const QColor kBranco(255, 255, 255);
} // namespace destaque

class CelulaDestaque : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The colours a cell is painted with, as the view would paint it (public so that they can be
    // checked without reading pixels).
    void prepararOpcao(QStyleOptionViewItem* option, const QModelIndex& index) const {
        initStyleOption(option, index);
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace qav
