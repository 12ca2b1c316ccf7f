#pragma once
// The flex balance available to the representative for the order being edited.

#include "orders/core/Entidades.h"

#include <vector>

namespace qav {

struct SaldoFlex {
    Decimal VL_FLEX;         // flex of this order
    Decimal FLEX_OUTROS_CRE; // positive flex of the other open orders (shown, not available)
    Decimal FLEX_OUTROS_DEB; // negative flex of the other open orders
    Decimal SALDO_FLEX;      // company balance + FLEX_OUTROS_DEB
    // The balance the release check measures this order against: company balance + the negative
    // flex of the other released orders. The same as SALDO_FLEX once the order is released; for a
    // pending order it is what releasing it will find (pending orders may never be released).
    Decimal SALDO_FLEX_LIBERACAO;
};

// Only for flex orders; otherwise every value is 0. Other orders count while in situation 1 or 2:
// all of them when the edited order is pending (1), only the released ones when it is released (2).
SaldoFlex calcularSaldoFlex(const Pedido& pedido, const std::vector<PedidoItem>& itens,
                            const std::vector<OutroPedido>& outros, const QavCfg& qavcfg);

} // namespace qav
