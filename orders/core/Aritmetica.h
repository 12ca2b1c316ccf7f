#pragma once
// Percentages and divisions of the order rules. Products are taken before quotients so that a result
// is exact whenever it can be; a division by zero gives 0, as the rules require.

#include "store/core/Decimal.h"

namespace qav {

// valor / 100 x taxa
inline Decimal percentual(const Decimal& valor, const Decimal& taxa) {
    return valor * taxa / Decimal(100);
}

// valor - valor / 100 x taxa: a discount of `taxa` %.
inline Decimal menosPercentual(const Decimal& valor, const Decimal& taxa) {
    return valor - percentual(valor, taxa);
}

// valor x (1 + taxa / 100): a surcharge of `taxa` %.
inline Decimal comAcrescimo(const Decimal& valor, const Decimal& taxa) {
    return valor * (Decimal(100) + taxa) / Decimal(100);
}

// valor / (1 + taxa / 100), 0 when the divisor is 0.
inline Decimal semAcrescimo(const Decimal& valor, const Decimal& taxa) {
    return Decimal::divOrZero(valor * Decimal(100), Decimal(100) + taxa);
}

// True when `valor` is a whole multiple of `lote` (never for a lot of 0).
inline bool multiploInteiro(const Decimal& valor, const Decimal& lote) {
    if (lote.isZero())
        return false;
    const Decimal vezes = (valor / lote).truncated(0);
    return vezes * lote == valor;
}

} // namespace qav
