#include "orders/core/Mensagens.h"

#include "store/core/FormatoBr.h"
#include "store/core/Text.h"

namespace qav {

namespace mensagem {

QString pautaIcmsStIndefinida(int idProduto) {
    return QStringLiteral("Pauta de Preço/Taxa MVA não definido para o produto %1 com substituição "
                          "tributária do ICMS!")
        .arg(idProduto);
}

QString descontoAcimaRateioItem(const Decimal& desconto, const Decimal& limite) {
    return QStringLiteral("Desconto de ") + br::numeroSemMilhar(desconto, 2) +
           QStringLiteral("% é superior a taxa de rateio da comissão ") + br::numeroSemMilhar(limite, 2) +
           QStringLiteral("% do vendedor!");
}

QString descontoAcimaRateioPedido(const Decimal& desconto, const Decimal& limite, int idProduto,
                                  const QString& nomeProduto) {
    return descontoAcimaRateioItem(desconto, limite) + QStringLiteral("|Produto: ") +
           QString::number(idProduto) + QLatin1Char(' ') + text::rtrim(nomeProduto);
}

QString freteInvalido(int idRegiao, int idMunCarga) {
    return QStringLiteral("Frete inválido!|Região: %1|Município Carga: %2").arg(idRegiao).arg(idMunCarga);
}

QString precosAlteradosFormaPag() {
    return QStringLiteral("Preços foram alterados devido a alteração da forma de pagamento!");
}

QString valorForaDoCampo(const QString& campo, const QString& limite) {
    if (campo.isEmpty())
        return QStringLiteral("Valor calculado grande demais para o pedido!|"
                              "O pedido ficou como estava antes da alteração.");
    return QStringLiteral("O valor calculado de %1 passa do limite do campo (%2)!|"
                          "O pedido ficou como estava antes da alteração.")
        .arg(campo, limite);
}

QString quantidadeForaDoLote(const Decimal& quantidadeValida, const QString& unidade) {
    return QStringLiteral("Quantidade diverge da volume na embalagem do produto!|Quantidade válida: ") +
           br::numeroSimples(quantidadeValida) + QLatin1Char(' ') + unidade;
}

} // namespace mensagem
} // namespace qav
