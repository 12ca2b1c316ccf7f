#include "queries/widgets/TitulosModelo.h"

#include "queries/widgets/CelulaDestaque.h"
#include "store/core/FormatoBr.h"

namespace qav {

void TitulosModelo::mostrar(std::vector<ctr::Titulo> titulos) {
    beginResetModel();
    m_titulos = std::move(titulos);
    endResetModel();
}

int TitulosModelo::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titulos.size());
}

int TitulosModelo::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Colunas;
}

bool TitulosModelo::destacado(const ctr::Titulo& t, int coluna) const {
    if (coluna == Vencimento)
        return t.vencimentoVencido;
    if (coluna == Dias)
        return t.dias > 0;
    return false;
}

QVariant TitulosModelo::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ctr::Titulo& t = m_titulos[static_cast<size_t>(index.row())];
    const int coluna = index.column();
    switch (role) {
    case Qt::DisplayRole:
        switch (coluna) {
        case Numero:
            return t.numero;
        case Emissao:
            return br::data(t.emissao);
        case Vencimento:
            return br::data(t.vencimento);
        case Valor:
            return br::numero(t.valor, 2);
        case Juros:
            return br::numero(t.juros, 2);
        case Recebimento:
            return br::data(t.recebimento);
        case Dias:
            return QString::number(t.dias);
        case Recebido:
            return br::numero(t.recebido, 2);
        case Saldo:
            return br::numero(t.saldo, 2);
        case Portador:
            return t.portador;
        case Carteira:
            return t.carteira;
        default:
            return {};
        }
    case Qt::TextAlignmentRole: {
        const bool numero =
            coluna == Valor || coluna == Juros || coluna == Dias || coluna == Recebido || coluna == Saldo;
        return QVariant::fromValue(
            Qt::Alignment(numero ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
    }
    case Qt::ForegroundRole:
        return destacado(t, coluna) ? QVariant(destaque::kVermelho) : QVariant();
    case destaque::Role:
        return destacado(t, coluna);
    default:
        return {};
    }
}

QVariant TitulosModelo::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titulos[] = {"Número", "Emissão",     "Vencimento", "Valor",
                                          "Juros",  "Recebimento", "Dias",       "Recebido",
                                          "Saldo",  "Portador",    "Carteira"};
    return section >= 0 && section < Colunas ? QString::fromUtf8(titulos[section]) : QVariant();
}

int TitulosModelo::comparar(int a, int b, int coluna) const {
    const ctr::Titulo& x = m_titulos[static_cast<size_t>(a)];
    const ctr::Titulo& y = m_titulos[static_cast<size_t>(b)];
    switch (coluna) {
    case Numero:
        return comparacao(x.numero, y.numero);
    case Emissao:
        return comparacao(x.emissao, y.emissao);
    case Vencimento:
        return comparacao(x.vencimento, y.vencimento);
    case Valor:
        return comparacao(x.valor, y.valor);
    case Juros:
        return comparacao(x.juros, y.juros);
    case Recebimento:
        return comparacao(x.recebimento, y.recebimento);
    case Dias:
        return comparacao(x.dias, y.dias);
    case Recebido:
        return comparacao(x.recebido, y.recebido);
    case Saldo:
        return comparacao(x.saldo, y.saldo);
    case Portador:
        return comparacao(x.portador, y.portador);
    case Carteira:
        return comparacao(x.carteira, y.carteira);
    default:
        return 0;
    }
}

} // namespace qav
