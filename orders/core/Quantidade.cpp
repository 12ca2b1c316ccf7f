#include "orders/core/Quantidade.h"

#include "store/core/Text.h"

#include "orders/core/Aritmetica.h"
#include "orders/core/CamposPedido.h"

namespace qav {

Decimal quantidadePorPecas(int pecas, int comprimentoMm, const Decimal& pesoMetro) {
    return guardar<&PedidoItem::QTD>(Decimal(pecas) * Decimal(comprimentoMm) * pesoMetro / Decimal(1000));
}

Decimal proximoMultiploLote(const Decimal& quantidade, const Decimal& lote) {
    if (lote.isZero())
        return quantidade;
    return ((quantidade / lote).truncated(0) + Decimal(1)) * lote;
}

VerificacaoLote verificarLote(const Decimal& quantidade, const Produto& produto, const QavCfg& qavcfg) {
    VerificacaoLote v;
    if (produto.LOTE_MUL_VENDA.isZero() || multiploInteiro(quantidade, produto.LOTE_MUL_VENDA))
        return v;
    v.foraDoLote = true;
    v.quantidadeValida = proximoMultiploLote(quantidade, produto.LOTE_MUL_VENDA);
    if (produto.PERMITIR_DIF_LOTE >= 2)
        return v;
    const QString unidade = produto.vendidoPorPeca() ? QStringLiteral("PÇS") : text::rtrim(produto.UNIDA);
    v.mensagem =
        Mensagem{QStringLiteral("Aviso"), mensagem::quantidadeForaDoLote(v.quantidadeValida, unidade)};
    v.voltarAoCampo =
        produto.PERMITIR_DIF_LOTE == 0 && text::rtrim(qavcfg.BLOQ_VOLUMES) == QStringLiteral("S");
    return v;
}

} // namespace qav
