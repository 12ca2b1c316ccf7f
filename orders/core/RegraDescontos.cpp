#include "orders/core/RegraDescontos.h"

#include "orders/core/LimiteDesconto.h"
#include "store/core/FormatoBr.h"
#include "store/core/Text.h"

#include <optional>

namespace qav {

namespace {

using Estado = ResultadoRegra::Estado;

// Which limit an item breaks; each item is held to the first one it breaks, in this order.
enum class Quebra { Nenhuma, DescontoPauta, PautaSemDesconto, Vendedor, Produto };

struct ExameItem {
    const Produto* produto = nullptr;
    Decimal desconto;
    Quebra quebra = Quebra::Nenhuma;
    // The limit broken; for an item within its limits, the tightest one that holds it (none when no
    // limit applies to it).
    std::optional<Decimal> limite;
    bool soAviso = false; // a flex order above the product's maximum
};

// Percentages in the messages: 2 decimals, no thousands points.
QString pct(const Decimal& valor) {
    return br::numeroSemMilhar(valor, 2);
}

QString produtoNaMensagem(const Produto& produto) {
    return QStringLiteral("|Produto: ") + text::rtrim(produto.CODIGO) + QLatin1Char(' ') +
           text::rtrim(produto.NOME);
}

QString mensagemDoItem(const ExameItem& exame) {
    const Produto& produto = *exame.produto;
    const Decimal& limite = *exame.limite;
    switch (exame.quebra) {
    case Quebra::DescontoPauta:
        return QStringLiteral("Desconto acima do permitido (") + pct(limite) +
               QStringLiteral("%) para a pauta de preços!") + produtoNaMensagem(produto) +
               QStringLiteral("|Desconto: ") + pct(exame.desconto) + QLatin1Char('%');
    case Quebra::PautaSemDesconto:
        return QStringLiteral("Pauta de preços não permite descontos!") + produtoNaMensagem(produto) +
               QStringLiteral("|Desconto: ") + pct(exame.desconto) + QLatin1Char('%');
    case Quebra::Vendedor:
        // One message per item: without the product, two items over the limit read as one message
        // shown twice.
        return QStringLiteral("Desconto de ") + pct(exame.desconto) +
               QStringLiteral("% acima do máximo permitido para o vendedor!") + produtoNaMensagem(produto) +
               QStringLiteral("|Desconto máximo: ") + pct(limite) + QLatin1Char('%');
    case Quebra::Produto:
        return QStringLiteral("Desconto de ") + pct(exame.desconto) +
               QStringLiteral("% acima do máximo permitido para o produto!") + produtoNaMensagem(produto) +
               QStringLiteral("|Desconto máximo: ") + pct(limite) + QLatin1Char('%');
    case Quebra::Nenhuma:
        break;
    }
    return {};
}

// The tighter of two optional limits.
std::optional<Decimal> menor(const std::optional<Decimal>& a, const Decimal& b) {
    return a && *a < b ? a : std::optional<Decimal>(b);
}

// nullopt for an item the rule leaves alone: a product without a maximum, on a price list that
// neither bars discounts nor grants one for the order value.
std::optional<ExameItem> examinar(const PedidoItem& item, const EntradaRegras& entrada) {
    const DadosPedido& dados = entrada.dados;
    const Produto& produto = dados.produto(item.PRODU);
    const Pauta& pauta = dados.pautaOuZeros();
    const Decimal& descontoPauta = entrada.recalculo.TX_DESC_PAUTA;
    if (produto.DESC_MAX.isZero() && pauta.BLOQ_DESCONTOS == 0 && descontoPauta.isZero())
        return std::nullopt;

    // On a price list the product's list price is the list's own.
    const PautaProduto* linhaPauta = dados.pautaProduto(item.PRODU);
    const Decimal precoLista = linhaPauta ? linhaPauta->PRECO1 : produto.PRECO;

    ExameItem exame;
    exame.produto = &produto;
    exame.desconto = descontoSobrePrecoLista(item, precoLista);
    const Decimal& d = exame.desconto;

    // The payment form's discount comes on top of the representative's and the product's maximum.
    const Decimal descontoForma = dados.formaPagOuZeros().DESCO;
    const Decimal limiteVendedor = limiteComDescontoFormaPag(dados.vendedor.TX_DESCMAX, descontoForma);
    const Decimal limiteProduto = limiteComDescontoFormaPag(produto.DESC_MAX, descontoForma);
    const bool pautaBloqueada = dados.qavcfg.descontosBloqueados() && !descontoPauta.isZero();
    const bool vendedorLimitado = !dados.vendedor.TX_DESCMAX.isZero();
    const bool produtoLimitado = !produto.DESC_MAX.isZero();

    if (pautaBloqueada && d > descontoPauta) {
        exame.quebra = Quebra::DescontoPauta;
        exame.limite = descontoPauta;
    } else if (pauta.BLOQ_DESCONTOS != 0 && d > Decimal()) {
        exame.quebra = Quebra::PautaSemDesconto;
        exame.limite = Decimal();
    } else if (vendedorLimitado && d > limiteVendedor) {
        exame.quebra = Quebra::Vendedor;
        exame.limite = limiteVendedor;
    } else if (produtoLimitado && d > limiteProduto) {
        exame.quebra = Quebra::Produto;
        exame.limite = limiteProduto;
        // A flex order pays for the extra discount with the representative's flex.
        exame.soAviso = entrada.pedido.PED_FLEX != 0;
    } else {
        if (pautaBloqueada)
            exame.limite = menor(exame.limite, descontoPauta);
        if (pauta.BLOQ_DESCONTOS != 0)
            exame.limite = menor(exame.limite, Decimal());
        if (vendedorLimitado)
            exame.limite = menor(exame.limite, limiteVendedor);
        if (produtoLimitado)
            exame.limite = menor(exame.limite, limiteProduto);
    }
    return exame;
}

// True when item `a` is closer to breaking a limit than `b`: an item held by a limit before one that
// is not, then the smaller room left under the limit (without limits, the larger discount).
bool maisProximoDoLimite(const ExameItem& a, const ExameItem& b) {
    if (a.limite.has_value() != b.limite.has_value())
        return a.limite.has_value();
    if (a.limite)
        return *a.limite - a.desconto < *b.limite - b.desconto;
    return a.desconto > b.desconto;
}

QString resumoDoItem(const ExameItem& exame, const QString& relacao) {
    QString texto = QStringLiteral("Desconto ") + br::numero(exame.desconto, 2) + QStringLiteral(" %");
    if (exame.limite)
        texto += QLatin1Char(' ') + relacao + QStringLiteral(" limite ") + br::numero(*exame.limite, 2) +
                 QStringLiteral(" %");
    else
        texto += QStringLiteral(" sem limite");
    return texto + QStringLiteral(" (") + text::rtrim(exame.produto->CODIGO) + QLatin1Char(')');
}

} // namespace

Decimal descontoSobrePrecoLista(const PedidoItem& item, const Decimal& precoLista) {
    if (item.QTD.isZero() || precoLista.isZero())
        return Decimal();
    Decimal liquido = item.VL_LIQUIDO;
    // A price that includes IPI is measured with the IPI, as the list price is.
    if (item.PRECO_COM_IPI != 0)
        liquido += item.VL_IPI;
    const Decimal unitario = liquido / item.QTD;
    return ((precoLista - unitario) * Decimal(100) / precoLista).rounded(2);
}

ResultadoRegra avaliarDescontos(const EntradaRegras& entrada) {
    ResultadoRegra resultado;
    resultado.regra = Regra::Descontos;

    std::optional<ExameItem> primeiraRecusa;
    std::optional<ExameItem> primeiroAviso;
    std::optional<ExameItem> maisJusto; // the item within its limits closest to one
    bool algumExaminado = false;
    for (const PedidoItem& item : entrada.itens) {
        const std::optional<ExameItem> exame = examinar(item, entrada);
        if (!exame)
            continue;
        algumExaminado = true;
        if (exame->quebra == Quebra::Nenhuma) {
            if (!maisJusto || maisProximoDoLimite(*exame, *maisJusto))
                maisJusto = exame;
            continue;
        }
        resultado.mensagens.push_back({QStringLiteral("Aviso"), mensagemDoItem(*exame)});
        if (exame->soAviso) {
            if (!primeiroAviso)
                primeiroAviso = exame;
        } else if (!primeiraRecusa) {
            primeiraRecusa = exame;
        }
    }

    if (!algumExaminado) {
        resultado.estado = Estado::NaoSeAplica;
        resultado.resumo = QStringLiteral("Nenhum item com limite de desconto");
        return resultado;
    }
    const qsizetype outros = static_cast<qsizetype>(resultado.mensagens.size()) - 1;
    const QString mais = outros > 0 ? QStringLiteral(" e mais %1").arg(outros) : QString();
    if (primeiraRecusa) {
        resultado.estado = Estado::Recusa;
        resultado.resumo = resumoDoItem(*primeiraRecusa, QStringLiteral(">")) + mais;
    } else if (primeiroAviso) {
        resultado.estado = Estado::Aviso;
        resultado.resumo =
            QStringLiteral("Pedido flex: ") + resumoDoItem(*primeiroAviso, QStringLiteral(">")) + mais;
    } else {
        resultado.resumo = resumoDoItem(*maisJusto, QStringLiteral("≤"));
    }
    return resultado;
}

} // namespace qav
