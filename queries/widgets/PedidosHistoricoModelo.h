#pragma once
// The rows of the order-history query: the back office's orders of a customer, newest first, with
// their numbers, situation, dates, billing state, contact, total and terms.

#include "queries/core/HistoricoPedidos.h"
#include "queries/widgets/OrdenacaoPorValor.h"

namespace qav {

class PedidosHistoricoModelo : public ModeloOrdenavel {
    Q_OBJECT
public:
    enum Column {
        Pedido,
        Entrega,
        NotaFiscal,
        Qav,
        Situacao,
        Data,
        PrevFat,
        Faturamento,
        Sit,
        Contato,
        ValorTotal,
        Prazo,
        Colunas
    };

    using ModeloOrdenavel::ModeloOrdenavel;

    void mostrar(std::vector<historico::Pedido> pedidos);
    const std::vector<historico::Pedido>& pedidos() const { return m_pedidos; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    int comparar(int a, int b, int coluna) const override;

private:
    std::vector<historico::Pedido> m_pedidos;
};

} // namespace qav
