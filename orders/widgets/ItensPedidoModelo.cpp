#include "orders/widgets/ItensPedidoModelo.h"

#include "orders/core/CamposPedido.h"
#include "store/core/FormatoBr.h"

namespace qav {

ItensPedidoModelo::ItensPedidoModelo(const std::vector<ItemEmEdicao>& itens, QObject* parent)
    : QAbstractTableModel(parent), m_itens(itens) {}

void ItensPedidoModelo::recarregar(const DadosPedido& dados) {
    beginResetModel();
    m_linhas.clear();
    m_linhas.reserve(m_itens.size());
    for (const ItemEmEdicao& emEdicao : m_itens) {
        PedidoItem item;
        lerRegistro(emEdicao.item, item);
        const Produto& produto = dados.produto(item.PRODU);
        QString descricao = produto.NOME.trimmed() + QLatin1Char(' ') + item.OBS.trimmed();
        m_linhas.push_back({produto.CODIGO.trimmed(), descricao.left(80).trimmed(),
                            br::numero(item.QTD, escala<&PedidoItem::QTD>()),
                            br::numero(item.PRUNI, escala<&PedidoItem::PRUNI>()), br::numero(item.DESCP, 2),
                            br::numero(item.TOTAL, 2)});
    }
    endResetModel();
}

int ItensPedidoModelo::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_linhas.size());
}

int ItensPedidoModelo::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Colunas;
}

QVariant ItensPedidoModelo::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_linhas.size()))
        return {};
    const Linha& l = m_linhas[static_cast<size_t>(index.row())];
    if (role == Qt::TextAlignmentRole)
        return index.column() >= Quantidade ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                            : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Codigo:
        return l.codigo;
    case Descricao:
        return l.descricao;
    case Quantidade:
        return l.quantidade;
    case Preco:
        return l.preco;
    case Desconto:
        return l.desconto;
    case Total:
        return l.total;
    default:
        return {};
    }
}

QVariant ItensPedidoModelo::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const titulos[] = {"Código",      "Descrição", "Quantidade",
                                          "Preço Unit.", "Desc. %",   "Total"};
    return section >= 0 && section < Colunas ? QString::fromUtf8(titulos[section]) : QVariant();
}

} // namespace qav
