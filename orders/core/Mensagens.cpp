#include "orders/core/Mensagens.h"

namespace qav {

QString semBrancosFinais(const QString& texto) {
    qsizetype fim = texto.size();
    while (fim > 0 && texto.at(fim - 1) == QLatin1Char(' '))
        --fim;
    return texto.left(fim);
}

QString numeroBr(const Decimal& valor, int casas) {
    QString texto = QString::fromStdString(valor.toString(casas));
    texto.replace(QLatin1Char('.'), QLatin1Char(','));
    return texto;
}

QString moedaBr(const Decimal& valor) {
    const QString texto = QString::fromStdString(valor.toString(2));
    const bool negativo = texto.startsWith(QLatin1Char('-'));
    const QString semSinal = negativo ? texto.mid(1) : texto;
    const qsizetype ponto = semSinal.indexOf(QLatin1Char('.'));
    const QString inteiro = semSinal.left(ponto);
    QString agrupado;
    for (qsizetype i = 0; i < inteiro.size(); ++i) {
        if (i > 0 && (inteiro.size() - i) % 3 == 0)
            agrupado += QLatin1Char('.');
        agrupado += inteiro.at(i);
    }
    return (negativo ? QStringLiteral("-") : QString()) + agrupado + QLatin1Char(',') +
           semSinal.mid(ponto + 1);
}

QString numeroSimplesBr(const Decimal& valor) {
    QString texto = QString::fromStdString(valor.toString());
    texto.replace(QLatin1Char('.'), QLatin1Char(','));
    return texto;
}

namespace mensagem {

QString pautaIcmsStIndefinida(int idProduto) {
    return QStringLiteral("Pauta de Preço/Taxa MVA não definido para o produto %1 com substituição "
                          "tributária do ICMS!")
        .arg(idProduto);
}

QString descontoAcimaRateioItem(const Decimal& desconto, const Decimal& limite) {
    return QStringLiteral("Desconto de ") + numeroBr(desconto, 2) +
           QStringLiteral("% é superior a taxa de rateio da comissão ") + numeroBr(limite, 2) +
           QStringLiteral("% do vendedor!");
}

QString descontoAcimaRateioPedido(const Decimal& desconto, const Decimal& limite, int idProduto,
                                  const QString& nomeProduto) {
    return descontoAcimaRateioItem(desconto, limite) + QStringLiteral("|Produto: ") +
           QString::number(idProduto) + QLatin1Char(' ') + semBrancosFinais(nomeProduto);
}

QString freteInvalido(int idRegiao, int idMunCarga) {
    return QStringLiteral("Frete inválido!|Região: %1|Município Carga: %2").arg(idRegiao).arg(idMunCarga);
}

QString precosAlteradosFormaPag() {
    return QStringLiteral("Preços foram alterados devido a alteração da forma de pagamento!");
}

QString quantidadeForaDoLote(const Decimal& quantidadeValida, const QString& unidade) {
    return QStringLiteral("Quantidade diverge da volume na embalagem do produto!|Quantidade válida: ") +
           numeroSimplesBr(quantidadeValida) + QLatin1Char(' ') + unidade;
}

} // namespace mensagem
} // namespace qav
