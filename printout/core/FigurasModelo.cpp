#include "printout/core/FigurasModelo.h"

namespace qav::impressao {

namespace {
bool ipiDentroDoPreco(const ItemImpresso& item) {
    return item.precoComIpi && !item.valorIpi.isZero();
}
} // namespace

Decimal totalSemIpi(const DocumentoPedido& documento) {
    return documento.total - documento.ipi;
}

Decimal volumesTotais(const DocumentoPedido& documento) {
    Decimal soma;
    for (const ItemImpresso& item : documento.itens)
        soma += item.quantidade * item.quantidadeVolume;
    return soma.rounded(0);
}

Decimal quantidadeTotal(const DocumentoPedido& documento) {
    Decimal soma;
    for (const ItemImpresso& item : documento.itens)
        soma += item.quantidade;
    return soma;
}

QString textoFrete(Modelo modelo, int fconta) {
    switch (fconta) {
    // The order form stores 1 for the issuer paying (CIF); the landscape model calls the issuer the
    // sender there.
    case 1:
        return modelo == Modelo::PaisagemSemComissao ? QStringLiteral("Remetente")
                                                     : QStringLiteral("Emitente");
    case 2:
        return QStringLiteral("Destinatário");
    case 3:
        return QStringLiteral("Emitente");
    case 4:
        return QStringLiteral("Terceiros");
    default:
        return {};
    }
}

bool freteNoTotal(const DocumentoPedido& documento) {
    return documento.fconta == 2;
}

Decimal ipiDentroDosPrecos(const DocumentoPedido& documento) {
    Decimal soma;
    for (const ItemImpresso& item : documento.itens)
        if (ipiDentroDoPreco(item))
            soma += item.valorIpi;
    return soma;
}

Decimal restoDescontoImpresso(const DocumentoPedido& documento) {
    Decimal partes;
    for (const ItemImpresso& item : documento.itens)
        partes += item.valorDescontoTotal - item.descontoValor;
    const Decimal resto = documento.desconto - partes;
    // Each stored share is at most half a cent from its exact value.
    const Decimal limite =
        Decimal::parse("0.005").value() * Decimal(static_cast<long long>(documento.itens.size()));
    return resto <= limite && resto >= Decimal() - limite ? resto : Decimal();
}

LinhaPaisagem linhaPaisagem(const ItemImpresso& item, const Decimal& resto) {
    LinhaPaisagem linha;
    linha.precoUnitario = item.precoUnitario.rounded(4);
    linha.desconto = item.valorDescontoTotal + resto;
    linha.liquido = item.total + item.descontoValor - linha.desconto;
    if (ipiDentroDoPreco(item)) {
        linha.precoUnitario =
            (item.precoUnitario / (Decimal(1) + item.aliquotaIpi / Decimal(100))).rounded(4);
        linha.liquido -= item.valorIpi;
    }
    linha.precoFinal =
        Decimal::divOrZero(linha.liquido + item.valorIpi + item.valorIcmsSt, item.quantidade).rounded(4);
    return linha;
}

TotaisPaisagem totaisPaisagem(const DocumentoPedido& documento) {
    TotaisPaisagem totais;
    for (const ItemImpresso& item : documento.itens) {
        totais.produtos += item.total + item.descontoValor;
        totais.desconto += item.valorDescontoTotal;
        if (ipiDentroDoPreco(item))
            totais.produtos -= item.valorIpi;
    }
    totais.desconto += restoDescontoImpresso(documento);
    totais.ipi = documento.ipi + ipiDentroDosPrecos(documento);
    return totais;
}

} // namespace qav::impressao
