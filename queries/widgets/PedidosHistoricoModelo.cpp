#include "queries/widgets/PedidosHistoricoModelo.h"

#include "store/core/FormatoBr.h"

namespace qav {

namespace {
QString numeroOuBranco(int n) {
    return n == 0 ? QString() : QString::number(n);
}
} // namespace

void PedidosHistoricoModelo::mostrar(std::vector<historico::Pedido> pedidos) {
    beginResetModel();
    m_pedidos = std::move(pedidos);
    endResetModel();
}

int PedidosHistoricoModelo::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_pedidos.size());
}

int PedidosHistoricoModelo::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Colunas;
}

QVariant PedidosHistoricoModelo::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const historico::Pedido& p = m_pedidos[static_cast<size_t>(index.row())];
    const int coluna = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool numero =
            coluna == Pedido || coluna == Entrega || coluna == NotaFiscal || coluna == ValorTotal;
        return QVariant::fromValue(
            Qt::Alignment(numero ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole)
        return {};
    switch (coluna) {
    case Pedido:
        return numeroOuBranco(p.numero);
    case Entrega:
        return QString::number(p.numEntrega);
    case NotaFiscal:
        return numeroOuBranco(p.numNf);
    case Qav:
        return p.numPedQav;
    case Situacao:
        return p.situacao;
    case Data:
        return br::data(p.dataPedido);
    case PrevFat:
        return br::data(p.dataPrevFatur);
    case Faturamento:
        return br::data(p.dataFatur);
    case Sit:
        return p.sitPed;
    case Contato:
        return p.contato;
    case ValorTotal:
        return br::numero(p.valorTotal, 2);
    case Prazo:
        return p.prazo;
    default:
        return {};
    }
}

QVariant PedidosHistoricoModelo::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const titulos[] = {"Pedido",   "Entrega", "Nota Fiscal", "QAV",
                                          "Situação", "Data",    "Prev. Fat.",  "Faturamento",
                                          "Sit",      "Contato", "Valor Total", "Prazo"};
    return section >= 0 && section < Colunas ? QString::fromUtf8(titulos[section]) : QVariant();
}

int PedidosHistoricoModelo::comparar(int a, int b, int coluna) const {
    const historico::Pedido& x = m_pedidos[static_cast<size_t>(a)];
    const historico::Pedido& y = m_pedidos[static_cast<size_t>(b)];
    switch (coluna) {
    case Pedido:
        return comparacao(x.numero, y.numero);
    case Entrega:
        return comparacao(x.numEntrega, y.numEntrega);
    case NotaFiscal:
        return comparacao(x.numNf, y.numNf);
    case Qav:
        return comparacao(x.numPedQav, y.numPedQav);
    case Situacao:
        return comparacao(x.situacao, y.situacao);
    case Data:
        return comparacao(x.dataPedido, y.dataPedido);
    case PrevFat:
        return comparacao(x.dataPrevFatur, y.dataPrevFatur);
    case Faturamento:
        return comparacao(x.dataFatur, y.dataFatur);
    case Sit:
        return comparacao(x.sitPed, y.sitPed);
    case Contato:
        return comparacao(x.contato, y.contato);
    case ValorTotal:
        return comparacao(x.valorTotal, y.valorTotal);
    case Prazo:
        return comparacao(x.prazo, y.prazo);
    default:
        return 0;
    }
}

} // namespace qav
