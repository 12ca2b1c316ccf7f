#pragma once
// Numbers and dates as a Brazilian user reads and types them: "." between thousands, "," before the
// decimals, dates dd/mm/yyyy (blank for no date). The one place where these forms are written.

#include "store/core/Date.h"
#include "store/core/Decimal.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace qav::br {

// "1.234,5600" for places = 4; rounded half away from zero.
QString numero(const Decimal& value, int places);
// Without the thousands points, as the messages write numbers: "1234,50", "-3,00".
QString numeroSemMilhar(const Decimal& value, int places);
// No trailing zeros and no thousands points: "36", "1,5".
QString numeroSimples(const Decimal& value);
// What a user typed: "1.234,56", "1234,56", "-0,5", "12" (see Decimal::parseBr); surrounding blanks
// are ignored. nullopt when it is not a number.
std::optional<Decimal> lerNumero(QStringView typed);
// A whole number written with `width` digits, zero-filled: "000045".
QString digitos(long long value, int width);
// "31/12/2026", empty for no date.
QString data(Date value);

} // namespace qav::br
