#include "orders/core/PrecoItem.h"

#include "store/core/Text.h"

#include "orders/core/Aritmetica.h"
#include "orders/core/CamposPedido.h"
#include "orders/core/FatorBase.h"
#include "orders/core/FlexComissao.h"
#include "orders/core/IcmsSt.h"
#include "orders/core/Ipi.h"
#include "orders/core/Quantidade.h"

namespace qav {

namespace {
Decimal numeroNoTexto(const QString& texto) {
    // A measure has a handful of digits; a longer run of digits is read up to what a measure can
    // be, never past what the integer holds.
    constexpr long long kMaiorMedida = 999'999'999'999LL;
    long long valor = 0;
    bool algum = false;
    for (const QChar c : texto.trimmed()) {
        if (!text::isAsciiDigit(c) || valor > kMaiorMedida / 10)
            break;
        valor = valor * 10 + (c.unicode() - u'0');
        algum = true;
    }
    return algum ? Decimal(valor) : Decimal();
}

bool comecaComUf(const QString& prazo, const QString& uf) {
    return !uf.isEmpty() && QString::compare(prazo.left(2), uf, Qt::CaseInsensitive) == 0;
}
} // namespace

Produto produtoComPrecosDaPauta(const Produto& produto, const DadosPedido& dados) {
    Produto resultado = produto;
    if (dados.pauta) {
        const PautaProduto* linha = dados.pautaProduto(produto.ID);
        resultado.PRECO = linha ? linha->PRECO1 : Decimal();
        resultado.PREC2 = linha ? linha->PRECO2 : Decimal();
        resultado.PREC3 = linha ? linha->PRECO3 : Decimal();
    }
    return resultado;
}

void definirPrecoInicial(PedidoItem& item, const Pedido& pedido, const DadosPedido& dados,
                         const std::vector<Decimal>& valoresAcessorios, ResultadoItem& resultado) {
    const Produto produto = produtoComPrecosDaPauta(dados.produto(item.PRODU), dados);
    item.PRECO_PAUTA = guardar<&PedidoItem::PRECO_PAUTA>(produto.PRECO);
    item.PRUNI = guardar<&PedidoItem::PRUNI>(produto.PRECO);
    item.VALOR_PRODUTO = guardar<&PedidoItem::VALOR_PRODUTO>(produto.PRECO);

    const Decimal acrescimo = dados.formaPagOuZeros().ACRESC;
    if (!acrescimo.isZero()) {
        item.PRUNI = guardar<&PedidoItem::PRUNI>(comAcrescimo(item.PRUNI, acrescimo));
        item.VALOR_PRODUTO = guardar<&PedidoItem::VALOR_PRODUTO>(comAcrescimo(item.VALOR_PRODUTO, acrescimo));
    }
    if (!produto.TX_DESC_LOTE.isZero() && !item.QTD.isZero() &&
        multiploInteiro(item.QTD, produto.LOTE_MUL_VENDA)) {
        item.PRUNI = guardar<&PedidoItem::PRUNI>(menosPercentual(item.PRUNI, produto.TX_DESC_LOTE));
        item.VALOR_PRODUTO =
            guardar<&PedidoItem::VALOR_PRODUTO>(menosPercentual(item.VALOR_PRODUTO, produto.TX_DESC_LOTE));
    }
    recalcularItem(item, pedido, dados, valoresAcessorios, resultado);
    ratearComissaoItem(item, pedido, dados, resultado);
}

void recalcularItem(PedidoItem& item, const Pedido& pedido, const DadosPedido& dados,
                    const std::vector<Decimal>& valoresAcessorios, ResultadoItem& resultado) {
    const Produto& produto = dados.produto(item.PRODU);
    const Decimal fator(fatorBaseItem(pedido.OBS, dados));

    item.PR_PAUTA_LIQ = precoPautaLiquido(item, produto, dados.formaPagOuZeros(), dados.vendedor, fator);
    if (produto.vendidoPorPeca())
        item.QTD = quantidadePorPecas(item.QTD_PECAS, item.COMPRIMENTO, produto.PESO_METRO);

    Decimal acessorios;
    for (const Decimal& valor : valoresAcessorios)
        acessorios += valor;
    item.VALOR_ACESSORIOS = guardar<&PedidoItem::VALOR_ACESSORIOS>(acessorios);
    item.PRUNI = guardar<&PedidoItem::PRUNI>(item.VALOR_PRODUTO + item.VALOR_ACESSORIOS);
    item.TOTAL = guardar<&PedidoItem::TOTAL>(item.QTD * item.PRUNI);
    if (!item.DESCP.isZero() || dados.qavcfg.descontosBloqueados())
        item.DESCV = (item.TOTAL * item.DESCP).truncated(0) / Decimal(100);
    item.TOTAL = (item.TOTAL - item.DESCV).rounded(2);

    Decimal liquido = item.TOTAL - percentual(item.TOTAL, pedido.DESCP);
    if (item.PRECO_COM_IPI != 0)
        liquido = semAcrescimo(liquido, produto.ALIQ_IPI);
    item.VL_LIQUIDO = guardar<&PedidoItem::VL_LIQUIDO>(liquido);

    const Ipi ipi = calcularIpi(baseIpiItem(item, produto), Decimal(1), produto.ALIQ_IPI);
    item.BC_IPI = ipi.BC_IPI;
    item.VL_IPI = ipi.VL_IPI;

    const StIcms& regra = regraIcmsSt(dados, pedido.ID_EMPRESA, produto, contribuinteIcmsItem(dados.cliente));
    item.VL_ICMSST =
        calcularIcmsSt(regra, dados.pautaProduto(item.PRODU),
                       {item.QTD, item.VL_LIQUIDO, item.VL_IPI, Decimal(1), item.PRODU}, resultado.mensagens);

    totaisDoItem(item, produto, resultado);
}

void totaisDoItem(const PedidoItem& item, const Produto& produto, ResultadoItem& resultado) {
    resultado.TOT_TRIB = item.VL_LIQUIDO + item.VL_IPI + item.VL_ICMSST;
    resultado.PRECO_ITEM = Decimal::divOrZero(resultado.TOT_TRIB, item.QTD);
    if (produto.QTD_EMBALAGEM > Decimal())
        resultado.PRECO_ITEM = resultado.PRECO_ITEM / produto.QTD_EMBALAGEM;
}

void ratearComissaoItem(PedidoItem& item, const Pedido& pedido, const DadosPedido& dados,
                        ResultadoItem& resultado) {
    const Produto& produto = dados.produto(item.PRODU);
    const Vendedor& vendedor = dados.vendedor;
    const PautaProduto* linha = dados.pautaProduto(item.PRODU);
    if (linha != nullptr && !linha->TX_COMISSAO.isZero())
        item.COMIS = linha->TX_COMISSAO;
    else if (const auto taxa = taxaComissaoInicial(vendedor, produto))
        item.COMIS = *taxa;

    resultado.excessoComissao = false;
    if (item.COMIS.isZero() || vendedor.DESC_RATEIO_COM.isZero() || item.VL_LIQUIDO.isZero() ||
        pedido.DESC_CLIENTE_REDE != 0 || produto.PRECO_PROMOCIONAL != 0)
        return;
    const Decimal d = descontoSobrePautaLiquida(item.PR_PAUTA_LIQ, item.VL_LIQUIDO, item.QTD);
    const RateioComissao rateio = ratearComissao(item.COMIS, d, vendedor.DESC_RATEIO_COM);
    item.COMIS = rateio.COMIS;
    if (rateio.excedido) {
        resultado.excessoComissao = true;
        resultado.desconto = rateio.desconto;
        resultado.limite = rateio.limite;
        resultado.mensagens.push_back(
            {QStringLiteral("Aviso"), mensagem::descontoAcimaRateioItem(rateio.desconto, rateio.limite)});
    }
}

bool definirPrecoPorComissao(PedidoItem& item, const DadosPedido& dados) {
    const PautaProduto* linha = dados.pautaProduto(item.PRODU);
    if (linha == nullptr || linha->TX_COMISSAO.isZero() || linha->DIVISOR.isZero())
        return false;
    const Decimal divisor = linha->DIVISOR + linha->TX_COMISSAO - item.COMIS;
    if (divisor.isZero())
        return false;
    item.VALOR_PRODUTO = guardar<&PedidoItem::VALOR_PRODUTO>(linha->PRECO1 * linha->DIVISOR / divisor);
    return true;
}

std::optional<Decimal> precoPorMedida(const QString& observacao, const Produto& produto, const QString& uf) {
    if (observacao.size() < 4 || observacao.at(3).toUpper() != QLatin1Char('X'))
        return std::nullopt;
    const QString estado = text::rtrim(uf);
    Decimal precoM2;
    if (comecaComUf(produto.PRAZO, estado))
        precoM2 = produto.PRECO;
    else if (comecaComUf(produto.PRAZ2, estado))
        precoM2 = produto.PREC2;
    else if (comecaComUf(produto.PRAZ3, estado))
        precoM2 = produto.PREC3;
    const Decimal largura = numeroNoTexto(observacao.mid(0, 3));
    const Decimal altura = numeroNoTexto(observacao.mid(4, 3));
    return (altura * largura * precoM2 / Decimal(10000)).rounded(2);
}

} // namespace qav
