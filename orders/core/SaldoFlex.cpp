#include "orders/core/SaldoFlex.h"

#include "orders/core/SituacaoPedido.h"

namespace qav {

SaldoFlex calcularSaldoFlex(const Pedido& pedido, const std::vector<PedidoItem>& itens,
                            const std::vector<OutroPedido>& outros, const QavCfg& qavcfg) {
    SaldoFlex saldo;
    if (pedido.PED_FLEX == 0)
        return saldo;
    Decimal liberados;
    for (const OutroPedido& outro : outros) {
        if (outro.ID == pedido.ID || outro.SITUA < situacao::Pendente || outro.SITUA > situacao::Liberado)
            continue;
        const Decimal flex = outro.PED_FLEX != 0 ? outro.VL_FLEX : Decimal();
        if (outro.SITUA == situacao::Liberado && flex <= Decimal())
            liberados += flex;
        const bool conta = pedido.SITUA == situacao::Pendente ||
                           (pedido.SITUA == situacao::Liberado && outro.SITUA == situacao::Liberado);
        if (!conta)
            continue;
        if (flex > Decimal())
            saldo.FLEX_OUTROS_CRE += flex;
        else
            saldo.FLEX_OUTROS_DEB += flex;
    }
    for (const PedidoItem& item : itens)
        saldo.VL_FLEX += item.VL_FLEX;
    saldo.SALDO_FLEX = qavcfg.SALDO_FLEX + saldo.FLEX_OUTROS_DEB;
    saldo.SALDO_FLEX_LIBERACAO = qavcfg.SALDO_FLEX + liberados;
    return saldo;
}

} // namespace qav
