#include "orders/core/Ipi.h"

#include "orders/core/Aritmetica.h"
#include "orders/core/CamposPedido.h"

namespace qav {

Decimal precoSemIpi(const Decimal& preco, const Decimal& aliquotaIpi) {
    return semAcrescimo(preco, aliquotaIpi).rounded(4);
}

Decimal baseIpiPedido(const PedidoItem& item, const Produto& produto) {
    if (item.PRECO_COM_IPI != 0)
        return item.QTD * precoSemIpi(item.PRUNI, produto.ALIQ_IPI);
    if (produto.DESC_IPI_BC != 0)
        return item.QTD * item.PRUNI - item.VL_DESC_TOTAL;
    return item.QTD * item.PRUNI;
}

Decimal baseIpiItem(const PedidoItem& item, const Produto& produto) {
    const Decimal unitario = item.PRECO_COM_IPI != 0 ? precoSemIpi(item.PRUNI, produto.ALIQ_IPI) : item.PRUNI;
    return item.QTD * unitario;
}

Ipi calcularIpi(const Decimal& base, const Decimal& fator, const Decimal& aliquotaIpi) {
    Ipi ipi;
    ipi.BC_IPI = (base * fator).rounded(2);
    ipi.VL_IPI = guardar<&PedidoItem::VL_IPI>(percentual(ipi.BC_IPI, aliquotaIpi));
    return ipi;
}

} // namespace qav
