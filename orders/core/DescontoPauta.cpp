#include "orders/core/DescontoPauta.h"

namespace qav {

Decimal descontoPauta(const std::optional<Pauta>& pauta, const Decimal& totalPedido) {
    if (!pauta)
        return Decimal();
    for (int nivel = 4; nivel >= 0; --nivel) {
        const Decimal& valor = pauta->VL_PEDIDO[static_cast<std::size_t>(nivel)];
        if (!valor.isZero() && valor <= totalPedido)
            return pauta->TX_DESCONTO[static_cast<std::size_t>(nivel)];
    }
    return Decimal();
}

} // namespace qav
