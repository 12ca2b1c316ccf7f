#pragma once
// IPI of one item.

#include "orders/core/Entidades.h"

namespace qav {

struct Ipi {
    Decimal BC_IPI;
    Decimal VL_IPI;
};

// Unit price without the IPI it includes, rounded to 4 decimals.
Decimal precoSemIpi(const Decimal& preco, const Decimal& aliquotaIpi);
// Base before the tax-base factor, in the order recalculation: the quantity at the price without IPI
// when the price includes it; else, for products whose discount reduces the base, the gross value less
// the item's whole discount; else the gross value.
Decimal baseIpiPedido(const PedidoItem& item, const Produto& produto);
// Base in the item form: the quantity at the unit price (without IPI when the price includes it).
Decimal baseIpiItem(const PedidoItem& item, const Produto& produto);
// BC_IPI = base x factor rounded to 0.01; VL_IPI = BC_IPI x rate / 100 as stored.
Ipi calcularIpi(const Decimal& base, const Decimal& fator, const Decimal& aliquotaIpi);

} // namespace qav
