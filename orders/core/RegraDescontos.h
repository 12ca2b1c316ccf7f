#pragma once
// The discount limits of an order's items: the price list's discount for the order value when the
// company locks discounts, a price list that bars discounts, the representative's maximum and the
// product's maximum, the last two widened by the payment form's discount.

#include "orders/core/RegrasLiberacao.h"

namespace qav {

// The item's discount % against its list price, 2 decimals. An item without quantity sells nothing
// and a product without a list price has nothing to be discounted from: both give 0.
Decimal descontoSobrePrecoLista(const PedidoItem& item, const Decimal& precoLista);

// Every item examined, one message per item that breaks a limit, in item order. Refused when any
// item breaks one, except that a flex order above a product's own maximum only gets the warning.
ResultadoRegra avaliarDescontos(const EntradaRegras& entrada);

} // namespace qav
