#pragma once
// Messages the order rules raise. The rules never open a window: they hand the messages to the
// caller, which shows them (the order forms) or prints them (qavtool).

#include "store/core/Decimal.h"

#include <QString>
#include <vector>

namespace qav {

struct Mensagem {
    QString titulo; // "Aviso" unless the rule says otherwise
    QString texto;  // "|" starts a new line
};
using Mensagens = std::vector<Mensagem>;

// Text of fixed-width fields without the padding.
QString semBrancosFinais(const QString& texto);

// Numbers as the user reads them: decimal comma, `casas` decimals, no thousands separator
// ("12,50", "-3,00").
QString numeroBr(const Decimal& valor, int casas);
// Money with thousands grouped: "1.234,56".
QString moedaBr(const Decimal& valor);
// A plain number: no trailing zeros, decimal comma ("36", "1,5").
QString numeroSimplesBr(const Decimal& valor);

namespace mensagem {
QString pautaIcmsStIndefinida(int idProduto);
QString descontoAcimaRateioPedido(const Decimal& desconto, const Decimal& limite, int idProduto,
                                  const QString& nomeProduto);
QString descontoAcimaRateioItem(const Decimal& desconto, const Decimal& limite);
QString freteInvalido(int idRegiao, int idMunCarga);
QString precosAlteradosFormaPag();
QString quantidadeForaDoLote(const Decimal& quantidadeValida, const QString& unidade);
} // namespace mensagem

} // namespace qav
