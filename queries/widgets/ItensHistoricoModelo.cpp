#include "queries/widgets/ItensHistoricoModelo.h"

#include "store/core/FormatoBr.h"

namespace qav {

void ItensHistoricoModelo::mostrar(std::vector<historico::Item> itens) {
    beginResetModel();
    m_itens = std::move(itens);
    endResetModel();
}

int ItensHistoricoModelo::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_itens.size());
}

int ItensHistoricoModelo::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Colunas;
}

QVariant ItensHistoricoModelo::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const historico::Item& i = m_itens[static_cast<size_t>(index.row())];
    const int coluna = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool numero =
            coluna == Produto || coluna == Quantidade || coluna == Desconto || coluna == PrecoUnitario;
        return QVariant::fromValue(
            Qt::Alignment(numero ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (coluna) {
    case Produto:
        return QString::number(i.idProduto);
    case Descricao:
        return i.descricao;
    case Complemento:
        return i.complemento;
    case Quantidade:
        return br::numero(i.quantidade, 2);
    case Desconto:
        return br::numero(i.desconto, 2);
    case PrecoUnitario:
        return br::numero(i.precoUnitario, 4);
    default:
        return {};
    }
}

QVariant ItensHistoricoModelo::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titulos[] = {"Produto",    "Descrição", "Complemento",
                                          "Quantidade", "Desc. %",   "Preço Unit."};
    return section >= 0 && section < Colunas ? QString::fromUtf8(titulos[section]) : QVariant();
}

} // namespace qav
