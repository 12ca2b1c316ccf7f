#include "orders/core/FlexComissao.h"

#include "orders/core/Aritmetica.h"
#include "orders/core/CamposPedido.h"

namespace qav {

namespace {
bool loteCompleto(const PedidoItem& item, const Produto& produto) {
    if (produto.TX_DESC_LOTE.isZero() || produto.LOTE_MUL_VENDA.isZero())
        return false;
    if (item.QTD_PECAS != 0 && multiploInteiro(Decimal(item.QTD_PECAS), produto.LOTE_MUL_VENDA))
        return true;
    return !item.QTD.isZero() && multiploInteiro(item.QTD, produto.LOTE_MUL_VENDA);
}
} // namespace

Decimal precoPautaLiquido(const PedidoItem& item, const Produto& produto, const FormaPag& formaPag,
                          const Vendedor& vendedor, const Decimal& fator) {
    Decimal preco = item.PRECO_PAUTA;
    if (item.PRECO_COM_IPI != 0)
        preco = guardar<&PedidoItem::PR_PAUTA_LIQ>(semAcrescimo(preco, produto.ALIQ_IPI * fator));
    preco = guardar<&PedidoItem::PR_PAUTA_LIQ>(menosPercentual(preco, formaPag.DESCO));
    preco = guardar<&PedidoItem::PR_PAUTA_LIQ>(menosPercentual(preco, vendedor.DESC_PAUTA_FLEX));
    if (loteCompleto(item, produto))
        preco = guardar<&PedidoItem::PR_PAUTA_LIQ>(menosPercentual(preco, produto.TX_DESC_LOTE));
    return preco;
}

Decimal valorFlex(const PedidoItem& item, bool pedidoFlex) {
    if (!pedidoFlex)
        return Decimal();
    return guardar<&PedidoItem::VL_FLEX>(item.VL_LIQUIDO - item.PR_PAUTA_LIQ * item.QTD);
}

Decimal descontoSobrePautaLiquida(const Decimal& precoPautaLiq, const Decimal& valorLiquido,
                                  const Decimal& qtd) {
    if (qtd.isZero() || precoPautaLiq.isZero())
        return Decimal();
    // (P - L / Q) / P x 100 = (P x Q - L) x 100 / (P x Q), one division.
    const Decimal pautaTotal = precoPautaLiq * qtd;
    return ((pautaTotal - valorLiquido) * Decimal(100) / pautaTotal).rounded(2);
}

RateioComissao ratearComissao(const Decimal& comissao, const Decimal& desconto, const Decimal& descRateio) {
    RateioComissao r;
    r.desconto = desconto;
    r.limite = comissao < descRateio ? comissao : descRateio;
    Decimal taxa = comissao;
    if (desconto <= r.limite) {
        if (desconto > Decimal())
            taxa = comissao - desconto / Decimal(2);
    } else {
        taxa = comissao - r.limite / Decimal(2);
        r.excedido = true;
    }
    if (taxa.isNegative())
        taxa = Decimal();
    r.COMIS = guardar<&PedidoItem::COMIS>(taxa);
    return r;
}

} // namespace qav
