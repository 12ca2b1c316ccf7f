#pragma once
// The items of a history order in the history order form: product id, description, complement,
// quantity, discount % and unit price.

#include "queries/core/HistoricoPedidos.h"

#include <QAbstractTableModel>

namespace qav {

class ItensHistoricoModelo : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Produto, Descricao, Complemento, Quantidade, Desconto, PrecoUnitario, Colunas };

    using QAbstractTableModel::QAbstractTableModel;

    void mostrar(std::vector<historico::Item> itens);
    const std::vector<historico::Item>& itens() const { return m_itens; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<historico::Item> m_itens;
};

} // namespace qav
