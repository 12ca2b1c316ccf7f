#include "orders/core/LimiteDesconto.h"

#include "orders/core/Aritmetica.h"

namespace qav {

Decimal limiteComDescontoFormaPag(const Decimal& limite, const Decimal& descontoFormaPag) {
    if (descontoFormaPag.isZero())
        return limite;
    return menosPercentual(limite, descontoFormaPag) + descontoFormaPag;
}

} // namespace qav
