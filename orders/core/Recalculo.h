#pragma once
// Recalculation of an order: discount shares, net values, weights and volume, IPI, ICMS-ST, flex and
// commission share of every item, and the order totals. The stored values of an order are always the
// ones computed here.

#include "orders/core/DadosPedido.h"
#include "orders/core/Mensagens.h"
#include "orders/core/SaldoFlex.h"

#include <optional>
#include <vector>

namespace qav {

struct ResultadoRecalculo {
    Decimal fator;         // tax-base factor of the observation
    Decimal TOT_QTDADE;    // sum of the item quantities
    Decimal TX_DESC_PAUTA; // price-list discount for the new total
    SaldoFlex flex;
    // Set when any item's discount exceeds its commission share: the order may not be confirmed.
    bool excessoComissao = false;
    Mensagens mensagens;
    // Set when a computed value does not fit its field: the order was left as it was before the
    // change (EdicaoPedido) and may not be confirmed while this stands. Names the field and its limit.
    std::optional<Mensagem> estouro;
};

// Items in KEYORDEM order (by ID_VENDASI).
void ordenarItens(std::vector<PedidoItem>& itens);

// Recalculates the order and its items in place. `outros` are the other orders of the folder, for the
// flex balance.
ResultadoRecalculo recalcularPedido(Pedido& pedido, std::vector<PedidoItem>& itens, const DadosPedido& dados,
                                    const std::vector<OutroPedido>& outros);

} // namespace qav
