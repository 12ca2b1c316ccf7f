#pragma once
// The item list of the order form: per item the product code, a description (the product's name, one
// blank, then the item's observation, at most 80 characters), quantity, unit price, discount % and
// total, in item-id order. It shows the items the form holds in memory.

#include "orders/core/EdicaoPedido.h"

#include <QAbstractTableModel>
#include <unordered_map>

namespace qav {

class ItensPedidoModelo : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Coluna { Codigo, Descricao, Quantidade, Preco, Desconto, Total, Colunas };

    explicit ItensPedidoModelo(const std::vector<ItemEmEdicao>& itens, QObject* parent = nullptr);

    // Shows the items again, with the code and name of each product from `dados`.
    void recarregar(const DadosPedido& dados);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Linha {
        QString codigo;
        QString descricao;
        QString quantidade;
        QString preco;
        QString desconto;
        QString total;
    };
    const std::vector<ItemEmEdicao>& m_itens;
    std::vector<Linha> m_linhas;
};

} // namespace qav
