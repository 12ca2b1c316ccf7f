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

namespace mensagem {
QString pautaIcmsStIndefinida(int idProduto);
QString descontoAcimaRateioPedido(const Decimal& desconto, const Decimal& limite, int idProduto,
                                  const QString& nomeProduto);
QString descontoAcimaRateioItem(const Decimal& desconto, const Decimal& limite);
QString freteInvalido(int idRegiao, int idMunCarga);
QString precosAlteradosFormaPag();
// A computed value beyond its field: "VDA:VOL_M3", "9.999,999"; an empty field when the value was
// beyond any number the rules hold.
QString valorForaDoCampo(const QString& campo, const QString& limite);
QString quantidadeForaDoLote(const Decimal& quantidadeValida, const QString& unidade);
} // namespace mensagem

} // namespace qav
