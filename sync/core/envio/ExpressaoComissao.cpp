#include "sync/core/envio/ExpressaoComissao.h"
#include "orders/core/Entidades.h"

#include "store/core/Text.h"

namespace qav::sync {

namespace {

// The commission-base group: the price's own, else the price list's, else the salesperson's.
QString grupoComissao(const std::optional<Record>& pauxpro, const Record& pauta, const Record& vendedor) {
    QString grupo = pauxpro ? text::rtrim(pauxpro->text("BC_COMISSAO")) : QString();
    if (grupo.isEmpty())
        grupo = text::rtrim(pauta.text("BC_COMISSAO"));
    if (grupo.isEmpty())
        grupo = text::rtrim(vendedor.text("BC_COMISSAO"));
    return grupo;
}

} // namespace

QString expressaoComissao(const Conexao& conexao, const Record& item, const std::optional<Record>& pauxpro,
                          const Record& pauta, const Record& vendedor, int empresaCabeca) {
    const QString comissao = Conexao::numero(item.decimal("COMIS"));
    // A price that pays commission by divisor keeps the item's rate as priced.
    const bool porDivisor =
        pauxpro && !pauxpro->decimal("DIVISOR").isZero() && !pauxpro->decimal("TX_COMISSAO").isZero();
    if (porDivisor)
        return comissao;
    const QString grupo = grupoComissao(pauxpro, pauta, vendedor);
    if (grupo.isEmpty())
        return vendedor.integer("ORIGEM_COM") == origemComissao::DoVendedor ? QStringLiteral("0") : comissao;
    const Decimal precoPauta = item.decimal("PRECO_PAUTA");
    if (precoPauta.isZero())
        return comissao;
    // The net unit price: a discount in value is spread over the quantity.
    const Decimal liquido = item.decimal("DESCV").isZero()
                                ? item.decimal("PRUNI")
                                : Decimal::divOrZero(item.decimal("TOTAL"), item.decimal("QTD"));
    const Decimal variacao = (liquido / precoPauta * Decimal(100)).rounded(2);
    return QLatin1Char('(') + comissao +
           QStringLiteral(" * COALESCE((SELECT tx_bc_comissao FROM gestao.bccomissao WHERE id_empresa=") +
           Conexao::inteiro(empresaCabeca) + QStringLiteral(" AND grupo=") + conexao.textoSempre(grupo) +
           QStringLiteral(" AND ") + QString::fromStdString(variacao.toString(2)) +
           QStringLiteral(" BETWEEN tx_var_preco1 AND tx_var_preco2 ORDER BY faixa LIMIT 1),100) / 100)");
}

} // namespace qav::sync
