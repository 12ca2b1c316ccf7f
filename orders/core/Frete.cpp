#include "orders/core/Frete.h"

namespace qav {

Decimal taxaFreteMinima() {
    static const Decimal minima = *Decimal::parse("0.01");
    return minima;
}

Decimal freteDaTaxa(const Decimal& totpr, const Decimal& txFrete) {
    return totpr * txFrete / Decimal(100);
}

} // namespace qav
