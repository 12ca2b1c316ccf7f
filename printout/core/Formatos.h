#pragma once
// The forms the order document writes its values in.

#include "store/core/Decimal.h"

#include <QString>

namespace qav::impressao::formato {

QString moeda(const Decimal& valor); // "1.234,56"
// Quantities and unit prices print with the decimals they hold, so that quantity x price gives the
// printed line total: at least one decimal for a quantity ("12,5", "2,51", "2,513") and two for a price
// ("10,00", "10,1234"), trailing zeros beyond those dropped.
QString quantidade(const Decimal& valor);
QString preco(const Decimal& valor);
QString percentual(const Decimal& valor); // "5,00"
// "(54)3222-1100" for ten digits (eleven: "(54)99222-1100"); anything else as typed.
QString telefone(const QString& numero);
// "95012-000" for eight digits; anything else as typed.
QString cep(const QString& numero);
QString nove(int numero); // the order number in nine digits

} // namespace qav::impressao::formato
