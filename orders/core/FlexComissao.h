#pragma once
// Net list price, flex and the share of the discount taken from the commission, for one item.

#include "orders/core/Entidades.h"

namespace qav {

// PR_PAUTA_LIQ: the list price without the IPI it includes (scaled by the tax-base factor), less the
// payment form's discount, the representative's flex discount and, for whole lots, the lot discount;
// stored with 4 decimals after each step.
Decimal precoPautaLiquido(const PedidoItem& item, const Produto& produto, const FormaPag& formaPag,
                          const Vendedor& vendedor, const Decimal& fator);

// VL_FLEX: positive when the item sells above the net list price, negative below; 0 outside flex orders.
Decimal valorFlex(const PedidoItem& item, bool pedidoFlex);

// Discount % of the net unit price against the net list price, 2 decimals; 0 when the quantity or the
// net list price is 0.
Decimal descontoSobrePautaLiquida(const Decimal& precoPautaLiq, const Decimal& valorLiquido,
                                  const Decimal& qtd);

struct RateioComissao {
    Decimal COMIS;         // the item's rate after the share
    Decimal desconto;      // d
    Decimal limite;        // the smaller of the rate and the representative's sharing limit
    bool excedido = false; // d above the limit: the order may not be confirmed
};

// Half of the discount d comes off the rate, at most half the limit; the rate never goes below 0.
RateioComissao ratearComissao(const Decimal& comissao, const Decimal& desconto, const Decimal& descRateio);

} // namespace qav
