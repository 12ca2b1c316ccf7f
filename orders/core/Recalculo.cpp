#include "orders/core/Recalculo.h"

#include "orders/core/Aritmetica.h"
#include "orders/core/CamposPedido.h"
#include "orders/core/DescontoPauta.h"
#include "orders/core/FatorBase.h"
#include "orders/core/FlexComissao.h"
#include "orders/core/Frete.h"
#include "orders/core/IcmsSt.h"
#include "orders/core/Ipi.h"

#include <algorithm>

namespace qav {

namespace {
// Share of the header discount for item i of n (4 decimals). With a header % every item takes its own
// percentage; with a typed value the items share it by value and the last one takes the remainder,
// so that the shares always add up to the header discount.
Decimal parcelaDesconto(const Pedido& pedido, const PedidoItem& item, bool ultimo,
                        const Decimal& somaAnteriores) {
    if (!pedido.DESCP.isZero())
        return percentual(item.TOTAL, pedido.DESCP).rounded(4);
    if (ultimo)
        return (pedido.DESCV - somaAnteriores).rounded(4);
    return Decimal::divOrZero(pedido.DESCV * item.TOTAL, pedido.TOTPR).rounded(4);
}

// Commission share of step "flex and commission" (the flex part is done by the caller).
void aplicarRateio(PedidoItem& item, const Produto& produto, const Pedido& pedido, const DadosPedido& dados,
                   ResultadoRecalculo& resultado) {
    const Vendedor& vendedor = dados.vendedor;
    if (vendedor.DESC_RATEIO_COM.isZero() || pedido.DESC_CLIENTE_REDE != 0)
        return;
    if (const auto taxa = taxaComissaoInicial(vendedor, produto))
        item.COMIS = *taxa;
    if (item.COMIS.isZero())
        return;
    const Decimal d = descontoSobrePautaLiquida(item.PR_PAUTA_LIQ, item.VL_LIQUIDO, item.QTD);
    const RateioComissao rateio = ratearComissao(item.COMIS, d, vendedor.DESC_RATEIO_COM);
    if (rateio.excedido) {
        resultado.mensagens.push_back(
            {QStringLiteral("Aviso"),
             mensagem::descontoAcimaRateioPedido(rateio.desconto, rateio.limite, item.PRODU, produto.NOME)});
        resultado.excessoComissao = true;
    }
    item.COMIS = rateio.COMIS;
}
} // namespace

void ordenarItens(std::vector<PedidoItem>& itens) {
    std::stable_sort(itens.begin(), itens.end(),
                     [](const PedidoItem& a, const PedidoItem& b) { return a.ID_VENDASI < b.ID_VENDASI; });
}

ResultadoRecalculo recalcularPedido(Pedido& pedido, std::vector<PedidoItem>& itens, const DadosPedido& dados,
                                    const std::vector<OutroPedido>& outros) {
    ResultadoRecalculo resultado;
    const Decimal fator(fatorBasePedido(pedido.OBS, dados));
    resultado.fator = fator;
    const FormaPag& formaPag = dados.formaPagOuZeros();
    const int contribuinte = contribuinteIcmsPedido(dados.cliente);

    pedido.VL_ICMSST = Decimal();
    pedido.TOTPR = Decimal();
    pedido.IPI = Decimal();
    pedido.PESO_LIQUIDO = Decimal();
    pedido.PESO_BRUTO = Decimal();
    pedido.VOL_M3 = Decimal();

    for (const PedidoItem& item : itens)
        pedido.TOTPR += item.TOTAL;
    // A freight given as a rate follows the products: items added or removed, or repriced by a new
    // payment form, change it as they change TOTPR. Only a rate of 0.01 or less leaves the typed value.
    if (pedido.TX_FRETE > taxaFreteMinima())
        pedido.FRETE = freteDaTaxa(pedido.TOTPR, pedido.TX_FRETE);

    // A header % above 0.009 (or locked discounts) fixes the header value; otherwise the typed value stays.
    static const Decimal kPercentualMinimo = Decimal::parse("0.009").value();
    if (pedido.DESCP > kPercentualMinimo || dados.qavcfg.descontosBloqueados())
        pedido.DESCV = (pedido.TOTPR * pedido.DESCP).truncated(0) / Decimal(100);

    Decimal somaParcelas;
    for (std::size_t i = 0; i < itens.size(); ++i) {
        PedidoItem& item = itens[i];
        const Produto& produto = dados.produto(item.PRODU);
        resultado.TOT_QTDADE += item.QTD;

        const Decimal parcela = parcelaDesconto(pedido, item, i + 1 == itens.size(), somaParcelas);
        somaParcelas += parcela;
        item.VL_DESC_TOTAL = guardar<&PedidoItem::VL_DESC_TOTAL>(item.DESCV + parcela);
        item.VL_LIQUIDO = item.TOTAL - parcela;
        if (item.PRECO_COM_IPI != 0)
            item.VL_LIQUIDO = semAcrescimo(item.VL_LIQUIDO, produto.ALIQ_IPI);
        item.VL_LIQUIDO = guardar<&PedidoItem::VL_LIQUIDO>(item.VL_LIQUIDO);

        pedido.PESO_LIQUIDO = guardar<&Pedido::PESO_LIQUIDO>(pedido.PESO_LIQUIDO + item.QTD * produto.PESOL);
        pedido.PESO_BRUTO = guardar<&Pedido::PESO_BRUTO>(pedido.PESO_BRUTO + item.QTD * produto.PESOB);
        pedido.VOL_M3 = guardar<&Pedido::VOL_M3>(pedido.VOL_M3 + item.QTD * produto.VOL_M3);

        const Ipi ipi = calcularIpi(baseIpiPedido(item, produto), fator, produto.ALIQ_IPI);
        item.BC_IPI = ipi.BC_IPI;
        item.VL_IPI = ipi.VL_IPI;

        const StIcms& regra = regraIcmsSt(dados, pedido.ID_EMPRESA, produto, contribuinte);
        item.VL_ICMSST =
            calcularIcmsSt(regra, dados.pautaProduto(item.PRODU),
                           {item.QTD, item.VL_LIQUIDO, item.VL_IPI, fator, item.PRODU}, resultado.mensagens);

        item.PR_PAUTA_LIQ = precoPautaLiquido(item, produto, formaPag, dados.vendedor, fator);
        item.VL_FLEX = valorFlex(item, pedido.PED_FLEX != 0);
        aplicarRateio(item, produto, pedido, dados, resultado);

        if (item.PRECO_COM_IPI == 0)
            pedido.IPI += item.VL_IPI;
        pedido.VL_ICMSST = guardar<&Pedido::VL_ICMSST>(pedido.VL_ICMSST + item.VL_ICMSST);
    }

    pedido.TOTAL = pedido.TOTPR + pedido.VL_ICMSST + pedido.IPI - pedido.DESCV;
    if (pedido.FCONTA == fconta::Destinatario)
        pedido.TOTAL += pedido.FRETE;

    resultado.flex = calcularSaldoFlex(pedido, itens, outros, dados.qavcfg);
    resultado.TX_DESC_PAUTA = descontoPauta(dados.pauta, pedido.TOTAL);
    return resultado;
}

} // namespace qav
