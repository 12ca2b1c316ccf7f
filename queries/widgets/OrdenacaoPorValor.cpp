#include "queries/widgets/OrdenacaoPorValor.h"

namespace qav {

OrdenacaoPorValor::OrdenacaoPorValor(ModeloOrdenavel* origem, QObject* parent)
    : QSortFilterProxyModel(parent), m_origem(origem) {
    setSourceModel(origem);
}

bool OrdenacaoPorValor::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const int c = m_origem->comparar(left.row(), right.row(), left.column());
    // Equal values keep the order the rows were read in.
    return c != 0 ? c < 0 : left.row() < right.row();
}

} // namespace qav
