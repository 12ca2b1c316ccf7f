#pragma once
// Freight of an order given as a rate: a percentage of the sum of the item totals.

#include "store/core/Decimal.h"

namespace qav {

// Above this rate the freight value is computed from it; at or below it the value is typed.
Decimal taxaFreteMinima();
// FRETE = TOTPR x TX_FRETE / 100, kept exact like the header's other money fields.
Decimal freteDaTaxa(const Decimal& totpr, const Decimal& txFrete);

} // namespace qav
