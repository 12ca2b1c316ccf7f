#pragma once
// The forms the order document writes its values in.

#include "store/core/Decimal.h"

#include <QString>

namespace qav::impressao::formato {

QString moeda(const Decimal& valor);      // "1.234,56"
QString quantidade(const Decimal& valor); // one decimal: "12,5"
QString percentual(const Decimal& valor); // "5,00"
QString preco4(const Decimal& valor);     // four decimals: "1.122,2727"
// "(54)3222-1100" for ten digits (eleven: "(54)99222-1100"); anything else as typed.
QString telefone(const QString& numero);
// "95012-000" for eight digits; anything else as typed.
QString cep(const QString& numero);
QString nove(int numero); // the order number in nine digits

} // namespace qav::impressao::formato
