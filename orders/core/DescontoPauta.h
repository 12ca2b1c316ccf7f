#pragma once
// Discount the price list grants for the order value ("Desconto Pauta").

#include "orders/core/Entidades.h"

#include <optional>

namespace qav {

// TX_DESCONTO of the highest level (5 down to 1) whose VL_PEDIDO is set and not above the order
// total; 0 when no level applies or the order has no price list.
Decimal descontoPauta(const std::optional<Pauta>& pauta, const Decimal& totalPedido);

} // namespace qav
