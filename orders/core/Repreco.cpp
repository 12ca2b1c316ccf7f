#include "orders/core/Repreco.h"

#include "orders/core/Aritmetica.h"
#include "orders/core/CamposPedido.h"

namespace qav {

namespace {
Decimal trocarAcrescimo(const Decimal& preco, const Decimal& anterior, const Decimal& novo, int casas) {
    const Decimal semAnterior = guardar(semAcrescimo(preco, anterior), casas);
    return guardar(comAcrescimo(semAnterior, novo), casas);
}
} // namespace

Decimal reprecificarFormaPag(std::vector<PedidoItem>& itens, const DadosPedido& dados,
                             const Decimal& acrescimoAnterior, Mensagens& mensagens) {
    if (!dados.formaPag || dados.formaPag->ACRESC == acrescimoAnterior)
        return acrescimoAnterior;
    const Decimal novo = dados.formaPag->ACRESC;
    if (itens.empty())
        return novo;
    const bool descontoFixo = dados.qavcfg.descontosBloqueados();
    for (PedidoItem& item : itens) {
        item.PRUNI = trocarAcrescimo(item.PRUNI, acrescimoAnterior, novo, escala<&PedidoItem::PRUNI>());
        item.VALOR_PRODUTO = trocarAcrescimo(item.VALOR_PRODUTO, acrescimoAnterior, novo,
                                             escala<&PedidoItem::VALOR_PRODUTO>());
        item.TOTAL = guardar<&PedidoItem::TOTAL>(item.QTD * item.PRUNI);
        if (!item.DESCP.isZero() || descontoFixo)
            item.DESCV = (item.TOTAL * item.DESCP).truncated(0) / Decimal(100);
        item.TOTAL = (item.TOTAL - item.DESCV).rounded(2);
    }
    mensagens.push_back({QStringLiteral("Aviso"), mensagem::precosAlteradosFormaPag()});
    return novo;
}

} // namespace qav
