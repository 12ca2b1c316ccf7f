#include "orders/core/FaixasPedido.h"

#include "store/core/FormatoBr.h"

namespace qav {

Mensagem ForaDaFaixa::mensagem() const {
    const ComposedWarning w = composeWarning(aviso, texto1, texto2, StoreError{});
    return {w.caption, w.text};
}

namespace faixa {

std::optional<ForaDaFaixa> percentualDesconto(const QString& campo, const QString& rotulo,
                                              const Decimal& valor) {
    if (valor.isNegative() || valor > Decimal(100))
        return ForaDaFaixa{campo, Aviso::ValorForaFaixa, rotulo, QStringLiteral("0 and 100")};
    return std::nullopt;
}

std::optional<ForaDaFaixa> valorDesconto(const QString& campo, const QString& rotulo, const Decimal& valor,
                                         const Decimal& maximo) {
    if (!valor.isNegative() && valor <= maximo)
        return std::nullopt;
    const Decimal teto = maximo.isNegative() ? Decimal() : maximo;
    return ForaDaFaixa{campo, Aviso::ValorForaFaixa, rotulo,
                       QStringLiteral("0,00 and ") + br::numero(teto, 2)};
}

std::optional<ForaDaFaixa> quantidade(const QString& rotulo, const Decimal& valor) {
    if (valor > Decimal())
        return std::nullopt;
    return ForaDaFaixa{QStringLiteral("quantidade"), Aviso::ValorAbaixoLimite, rotulo, QStringLiteral("0")};
}

std::optional<ForaDaFaixa> cabecalho(const Pedido& pedido) {
    if (auto f = percentualDesconto(QStringLiteral("descp"), QStringLiteral("Desconto %"), pedido.DESCP))
        return f;
    // A value typed over the products would make the order negative; one computed from the % never is.
    return valorDesconto(QStringLiteral("descv"), QStringLiteral("Valor Desconto"), pedido.DESCV,
                         pedido.TOTPR.isNegative() ? Decimal() : pedido.TOTPR);
}

std::optional<ForaDaFaixa> item(const PedidoItem& item) {
    if (auto f = quantidade(QStringLiteral("Quantidade"), item.QTD))
        return f;
    if (auto f = percentualDesconto(QStringLiteral("descp"), QStringLiteral("Desconto %"), item.DESCP))
        return f;
    return valorDesconto(QStringLiteral("descv"), QStringLiteral("Valor Desconto"), item.DESCV,
                         (item.QTD * item.PRUNI).rounded(2));
}

} // namespace faixa
} // namespace qav
